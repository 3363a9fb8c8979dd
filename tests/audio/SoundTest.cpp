#include "audio/FakeMixer.h"
#include "audio/Sound.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

TEST(Sound, AMissingOrDamagedFileIsReportedOnceAndTheRestLoads)
{
    FakeMixer fake;
    fake.missing = {"./Sound/candle8on.wav", "./Sound/02.love.mp3"};
    testing::internal::CaptureStderr();
    initSounds();
    std::string report = testing::internal::GetCapturedStderr();
    // candle8on.wav fills two slots; it is named once.
    EXPECT_EQ(report.find("candle8on.wav"), report.rfind("candle8on.wav")) << report;
    EXPECT_NE(report.find("./Sound/candle8on.wav is missing or damaged"), std::string::npos) << report;
    EXPECT_NE(report.find("./Sound/02.love.mp3 is missing or damaged"), std::string::npos) << report;
    EXPECT_EQ(std::count(report.begin(), report.end(), '\n'), 2) << report;
    EXPECT_EQ(sound[0], nullptr);
    EXPECT_EQ(sound[14], nullptr);
    EXPECT_NE(sound[1], nullptr) << "the other sounds still load";
    EXPECT_EQ(music[4], nullptr);
    EXPECT_NE(music[5], nullptr);
}

TEST(Sound, WithoutFilesEveryPlayCallIsSilent)
{
    FakeMixer fake;
    fake.allMissing = true;
    initSounds();
    fake.events.clear();
    for (int slot = 0; slot < soundSlotCount; slot++) {
        playSound(slot);
        playLoop(slot);
        stopSound(slot);
    }
    for (int track = 0; track < musicTrackCount; track++)
        playMusic(track);
    playStep();
    playPausedSounds();
    EXPECT_TRUE(fake.events.empty());
    EXPECT_EQ(soundPlaying[31], 0);
}

TEST(Sound, ALoopNeverStartsTwiceAndPlaySoundBlocksIt)
{
    LoadedMixer fake;
    playLoop(31);
    playLoop(31);
    ASSERT_EQ(fake.calls("playChannel").size(), 1u);
    EXPECT_EQ(fake.calls("playChannel")[0].first, 31);
    EXPECT_EQ(fake.calls("playChannel")[0].second, -1);
    stopSound(31);
    stopSound(31);
    EXPECT_EQ(fake.calls("haltChannel").size(), 1u);
    playLoop(31);
    EXPECT_EQ(fake.calls("playChannel").size(), 2u);

    fake.events.clear();
    playSound(32);
    playLoop(32);
    ASSERT_EQ(fake.calls("playChannel").size(), 1u);
    EXPECT_EQ(fake.calls("playChannel")[0].second, 0) << "playSound plays once";
    stopSound(32);
    playLoop(32);
    ASSERT_EQ(fake.calls("playChannel").size(), 2u);
    EXPECT_EQ(fake.calls("playChannel")[1].second, -1);

    // Replaying an effect goes to its own channel every time.
    fake.events.clear();
    playSound(7);
    playSound(7);
    ASSERT_EQ(fake.calls("playChannel").size(), 2u);
    EXPECT_EQ(fake.calls("playChannel")[1].first, 7);
}

TEST(Sound, InactiveStartsAndStopsNothing)
{
    LoadedMixer fake;
    playLoop(31);
    fake.events.clear();
    setSounds(false);
    playSound(5);
    playLoop(32);
    stopSound(31);
    playMusic(2);
    playStep();
    playPausedSounds();
    EXPECT_TRUE(fake.events.empty());
    EXPECT_EQ(soundPlaying[31], 1);
    EXPECT_EQ(soundPlaying[32], 0);
    EXPECT_EQ(musicPlaying, -1);
    setSounds(true);
    stopSound(31);
    EXPECT_EQ(fake.calls("haltChannel").size(), 1u);
}

TEST(Sound, OutOfRangeSlotsAndTracksAreIgnored)
{
    LoadedMixer fake;
    fake.events.clear();
    size_t loads = fake.samplePaths.size() + fake.musicPaths.size();
    for (int bad : {-1, 64, 1000}) {
        playSound(bad);
        playLoop(bad);
        stopSound(bad);
        addSound("./Sound/any.wav", bad);
    }
    for (int bad : {-1, 6}) {
        playMusic(bad);
        playMusicOnce(bad);
        addMusic("./Sound/any.mp3", bad);
    }
    EXPECT_TRUE(fake.events.empty());
    EXPECT_EQ(fake.samplePaths.size() + fake.musicPaths.size(), loads);
}

TEST(Sound, MusicDoesNotRestartTheTrackAlreadyPlaying)
{
    LoadedMixer fake;
    playMusic(1);
    playMusic(1);
    ASSERT_EQ(fake.calls("playMusic").size(), 1u);
    EXPECT_EQ(fake.calls("playMusic")[0].second, -1);
    EXPECT_EQ(musicPlaying, 1);
    playMusic(4);
    playMusic(1);
    ASSERT_EQ(fake.calls("playMusic").size(), 3u);
    EXPECT_EQ(fake.calls("playMusic")[2].first, fake.calls("playMusic")[0].first);
    playMusicOnce(3);
    playMusicOnce(3);
    ASSERT_EQ(fake.calls("playMusic").size(), 4u);
    EXPECT_EQ(fake.calls("playMusic")[3].second, 0);
    EXPECT_EQ(musicPlaying, 3);
}

TEST(Sound, TheMenuTrackGivesWayToTheRoomsTracksAndStopsOnlyItself)
{
    FakeMixer fake;
    initSounds();
    fake.events.clear();
    playMenuMusic();
    playMenuMusic();
    ASSERT_EQ(fake.calls("playMusic").size(), 1u);
    EXPECT_EQ(fake.musicPaths[size_t(fake.calls("playMusic")[0].first)], "./Sound/menu.mp3");
    EXPECT_EQ(fake.calls("playMusic")[0].second, -1) << "looping";
    playMusic(1);
    EXPECT_EQ(fake.calls("playMusic").size(), 2u) << "a room's track replaces it";
    stopMenuMusic();
    EXPECT_TRUE(fake.calls("haltMusic").empty()) << "the room's track plays on";
    playMenuMusic();
    stopMenuMusic();
    EXPECT_EQ(fake.calls("haltMusic").size(), 1u);
    playMusic(1);
    EXPECT_EQ(fake.calls("playMusic").size(), 4u) << "the room's track starts again after the menu's";
}

TEST(Sound, HeldEffectsStartNothingWhileLoopsAndMusicGoOn)
{
    LoadedMixer fake;
    holdEffects(true);
    playSound(coinSlot);
    EXPECT_TRUE(fake.calls("playChannel").empty());
    playLoop(waterFillSlot);
    playMusic(2);
    EXPECT_EQ(fake.calls("playChannel").size(), 1u);
    EXPECT_EQ(fake.calls("playMusic").size(), 1u);
    holdEffects(false);
    playSound(coinSlot);
    EXPECT_EQ(fake.calls("playChannel").size(), 2u);
}

TEST(Sound, PauseHaltsOnlyTheAmbiencesThatPlayAndResumeRestoresThem)
{
    LoadedMixer fake;
    playLoop(31);
    playSound(5);
    playMusic(0);
    fake.events.clear();
    pauseAllSounds();
    ASSERT_EQ(fake.events.size(), 1u);
    EXPECT_EQ(fake.events[0].call, "haltChannel");
    EXPECT_EQ(fake.events[0].first, 31);
    EXPECT_EQ(soundPlaying[31], 1) << "the flag stays for the resume";

    fake.events.clear();
    playPausedSounds();
    ASSERT_EQ(fake.events.size(), 1u);
    EXPECT_EQ(fake.events[0].call, "playChannel");
    EXPECT_EQ(fake.events[0].first, 31);
    EXPECT_EQ(fake.events[0].second, -1);
}

TEST(Sound, FootstepsAlternate)
{
    LoadedMixer fake;
    for (int i = 0; i < 3; i++)
        playStep();
    std::vector<MIXER_EVENT> steps = fake.calls("playChannel");
    ASSERT_EQ(steps.size(), 3u);
    EXPECT_EQ(steps[0].first + steps[1].first, 28 + 29) << "one foot, then the other";
    EXPECT_EQ(steps[2].first, steps[0].first);
}

TEST(Sound, VolumesAreClampedAndScaledToTheMixer)
{
    EXPECT_EQ(mixerVolume(-20), 0);
    EXPECT_EQ(mixerVolume(250), 128);

    FakeMixer fake;
    setVolume(25, 75);
    ASSERT_EQ(fake.calls("musicVolume").size(), 1u);
    EXPECT_EQ(fake.calls("musicVolume")[0].first, 32);
    std::vector<MIXER_EVENT> channels = fake.calls("channelVolume");
    ASSERT_EQ(channels.size(), 64u);
    for (int channel = 0; channel < 64; channel++) {
        EXPECT_EQ(channels[size_t(channel)].first, channel);
        EXPECT_EQ(channels[size_t(channel)].second, 96);
    }
    fake.events.clear();
    setVolume(-5, 500);
    EXPECT_EQ(fake.calls("musicVolume")[0].first, 0);
    EXPECT_EQ(fake.calls("channelVolume")[0].second, 128);
}

TEST(Sound, InitLoadsTheSlotAndTrackTablesAndCloseFreesEverythingOnceThenClosesTheDevice)
{
    FakeMixer fake;
    initSounds();
    ASSERT_FALSE(fake.events.empty());
    EXPECT_EQ(fake.events[0].call, "allocateChannels");
    EXPECT_EQ(fake.events[0].first, 64);
    EXPECT_EQ(fake.slotFile(14), fake.slotFile(0));
    EXPECT_NE(sound[0], sound[14]) << "the second copy is a sample of its own";
    fake.events.clear();
    closeSounds();
    EXPECT_EQ(fake.calls("freeChunk").size(), 27u);
    EXPECT_EQ(fake.calls("freeMusic").size(), 7u) << "the rooms' six tracks and the menu's";
    ASSERT_FALSE(fake.events.empty());
    EXPECT_EQ(fake.events.back().call, "closeAudio");
    fake.events.clear();
    playSound(0);
    playMusic(0);
    EXPECT_TRUE(fake.events.empty());

    // Reloading a slot frees the sample it held.
    addSound("./Sound/a.wav", 3);
    addSound("./Sound/b.wav", 3);
    EXPECT_EQ(fake.calls("freeChunk").size(), 1u);
}
