// The sounds and music of the game directory, as the data build made them,
// loaded through the real mixer (dummy audio driver) and measured: every
// file the game asks for is there and loads, nothing clips, effects share
// one loudness range, music stays below them, loops join without a step,
// one-shots start and end in silence.

#include "audio/SoundMeasures.h"
#include "audio/Sound.h"

#include <SDL.h>
#include <SDL_mixer.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

using namespace measures;

const std::string soundDir = std::string(GLOAMER_GAME_DIR) + "/Sound/";

const char* const effects[] = {"candle8on", "candle8off", "torch8on", "torch8off", "aceto8on", "aceto8off",
                               "get8coin",  "throw",      "hit1",     "extinct",   "bonus",    "getkey",
                               "getdiam",   "getskull",   "sheet",    "steam",     "step1",
                               "step2",     "map",        "error"};
const char* const loops[] = {"waterfill2", "move"};
const char* const tracks[] = {"05.underwater", "07.lost", "09.love_is_dead", "game_over", "02.love", "01.catacombs"};

// The mixer opened as the game opens it, closed again after each test.
class GameSounds : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_EQ(SDL_Init(SDL_INIT_AUDIO), 0) << SDL_GetError();
        ASSERT_EQ(Mix_OpenAudio(rate, AUDIO_S16LSB, 2, 1024), 0) << Mix_GetError();
    }
    void TearDown() override
    {
        Mix_CloseAudio();
        SDL_Quit();
    }

    // The left channel of a WAV file as the mixer holds it, in -1..1.
    static std::vector<float> load(const std::string& path)
    {
        std::vector<float> samples;
        Mix_Chunk* chunk = Mix_LoadWAV_RW(SDL_RWFromFile(path.c_str(), "rb"), 1);
        EXPECT_NE(chunk, nullptr) << path;
        if (!chunk)
            return samples;
        const int16_t* pcm = reinterpret_cast<const int16_t*>(chunk->abuf);
        for (size_t i = 0; i + 1 < chunk->alen / 2; i += 2)
            samples.push_back(pcm[i] / 32768.0f);
        Mix_FreeChunk(chunk);
        return samples;
    }

    // A music track decoded to WAV by the generator, then loaded as above.
    static std::vector<float> loadTrack(const std::string& name)
    {
        std::string wav = testing::TempDir() + name + ".wav";
        std::string command = std::string(GLOAMER_TOOLS_DIR) + "/soundgen decode '" + soundDir + name + ".mp3' '" + wav + "'";
        EXPECT_EQ(std::system(command.c_str()), 0) << command;
        return load(wav);
    }
};

} // namespace

TEST_F(GameSounds, EverySlotAndTrackLoadsAndPlaysThroughTheMixer)
{
    char previous[1024];
    ASSERT_NE(getcwd(previous, sizeof previous), nullptr);
    ASSERT_EQ(chdir(GLOAMER_GAME_DIR), 0);
    mixer = sdlMixerCalls();
    initSounds();
    ASSERT_EQ(chdir(previous), 0);
    for (int slot = 0; slot < soundSlotCount; slot++) {
        bool listed = slot <= 18 || (slot >= 26 && slot <= 33);
        EXPECT_EQ(sound[slot] != nullptr, listed) << "slot " << slot;
    }
    for (int track = 0; track < musicTrackCount; track++)
        EXPECT_NE(music[track], nullptr) << "track " << track;
    playSound(5);
    EXPECT_EQ(soundPlaying[5], 1);
    setVolume(50, 50);
    EXPECT_EQ(Mix_Volume(5, -1), 64) << "the volume reaches the mixer's channel";
    closeSounds();
    for (int slot = 0; slot < soundSlotCount; slot++)
        EXPECT_EQ(sound[slot], nullptr);
}

namespace {

std::atomic<long> heard{0};

void listen(void*, Uint8* stream, int length)
{
    const int16_t* pcm = reinterpret_cast<const int16_t*>(stream);
    for (int i = 0; i < length / 2; i++)
        if (std::abs(pcm[i]) > 4)
            heard++;
}

} // namespace

// The mixer decodes the MP3 music itself: a track played for a moment
// reaches the output.
TEST_F(GameSounds, MusicPlaysThroughTheMixer)
{
    Mix_Music* track = Mix_LoadMUS((soundDir + "02.love.mp3").c_str());
    ASSERT_NE(track, nullptr) << Mix_GetError();
    heard = 0;
    Mix_SetPostMix(listen, nullptr);
    ASSERT_EQ(Mix_PlayMusic(track, 0), 0);
    // Past its fade-in, so the music is well above silence.
    Mix_SetMusicPosition(10.0);
    SDL_Delay(600);
    EXPECT_EQ(Mix_PlayingMusic(), 1);
    Mix_SetPostMix(nullptr, nullptr);
    Mix_HaltMusic();
    Mix_FreeMusic(track);
    EXPECT_GT(heard.load(), 1000);
}

TEST_F(GameSounds, EffectsAreCleanAndEquallyLoud)
{
    for (const char* name : effects) {
        std::vector<float> s = load(soundDir + name + ".wav");
        ASSERT_FALSE(s.empty()) << name;
        EXPECT_GE(seconds(s), 0.1) << name;
        EXPECT_LE(seconds(s), 2.0) << name;
        EXPECT_LT(peakDb(s), -0.9f) << name;
        EXPECT_GE(loudnessDb(s), -24.0f) << name;
        EXPECT_LE(loudnessDb(s), -15.0f) << name;
        // Starting or being cut off never clicks.
        EXPECT_LT(peakDb(s, 0, 2), -50.0f) << name;
        EXPECT_LT(peakDb(s, s.size() - ms(1)), -40.0f) << name;
    }
}

TEST_F(GameSounds, AmbienceLoopsJoinWithoutAStep)
{
    for (const char* name : loops) {
        std::vector<float> s = load(soundDir + name + ".wav");
        ASSERT_GT(s.size(), ms(100)) << name;
        EXPECT_GE(seconds(s), 1.0) << name;
        EXPECT_LE(seconds(s), 4.0) << name;
        EXPECT_LT(peakDb(s), -0.9f) << name;
        EXPECT_GE(loudnessDb(s), -26.0f) << name;
        EXPECT_LE(loudnessDb(s), -18.0f) << name;
        // The jump from the last sample to the first is like any other step.
        EXPECT_LT(std::fabs(s.front() - s.back()), 4 * meanStep(s)) << name;
        // And the level carries on across the seam.
        EXPECT_NEAR(rmsDb(s, s.size() - ms(150)), rmsDb(s, 0, ms(150)), 4.0f) << name;
    }
}

namespace {

// Samples at the start and at the end quieter than -60 dBFS: what a loop
// plays as silence where it goes round.
double seamMs(const std::vector<float>& s)
{
    size_t first = 0, last = s.size();
    while (first < s.size() && std::fabs(s[first]) < 0.001f)
        first++;
    while (last > first && std::fabs(s[last - 1]) < 0.001f)
        last--;
    return 1000.0 * double(first + s.size() - last) / rate;
}

} // namespace

// Room tracks loop without a break, a few dB under the effects; the menu's
// is a shorter, quieter loop; the game-over track is played once and ends
// in silence. Electric arcs repeat for as long as their room is shown, so
// their buzz stays well under the music.
TEST_F(GameSounds, MusicLoopsWithoutABreakUnderTheEffects)
{
    double effectLoudness = 0;
    for (const char* name : effects)
        effectLoudness += loudnessDb(load(soundDir + name + ".wav")) / double(std::size(effects));
    float quietestRoom = 0;
    for (const char* name : tracks) {
        std::vector<float> s = loadTrack(name);
        ASSERT_GT(s.size(), size_t(rate)) << name;
        bool once = std::string(name) == "game_over";
        EXPECT_GE(seconds(s), once ? 10 : 60) << name;
        EXPECT_LE(seconds(s), once ? 30 : 180) << name;
        EXPECT_LT(peakDb(s), -3.0f) << name;
        EXPECT_LE(rmsDb(s), effectLoudness - 2) << name;
        EXPECT_GE(rmsDb(s), effectLoudness - 6) << name;
        if (once)
            EXPECT_LT(peakDb(s, s.size() - ms(60)), -50.0f) << name;
        else
            EXPECT_LE(seamMs(s), 50.0) << name;
        if (!once)
            quietestRoom = std::min(quietestRoom, rmsDb(s));
        std::printf("%s: %.1f s, peak %.1f dB, RMS %.1f dB, loudest 50 ms %.1f dB, seam %.1f ms\n", name,
                    seconds(s), double(peakDb(s)), double(rmsDb(s)), double(loudnessDb(s)), seamMs(s));
    }
    std::vector<float> menu = loadTrack("menu");
    EXPECT_GE(seconds(menu), 30);
    EXPECT_LE(seconds(menu), 60);
    EXPECT_LE(seamMs(menu), 50.0);
    EXPECT_LT(rmsDb(menu), quietestRoom - 3) << "quieter than the rooms";
    std::vector<float> arc = load(soundDir + "electric.wav");
    EXPECT_LT(rmsDb(arc), quietestRoom - 10) << "the arc buzz";
    EXPECT_LT(peakDb(arc), -0.9f);
    EXPECT_LT(peakDb(arc, 0, 2), -50.0f);
}

// The mixer plays an MP3 whose frames match its own output (44.1 kHz,
// two channels) as they are; any other layout goes through a format
// conversion that overruns its buffer in the SDL 1.2 layer over SDL 2.
TEST(GameMusic, FramesMatchTheMixersOutput)
{
    std::vector<const char*> names(std::begin(tracks), std::end(tracks));
    names.push_back("menu");
    for (const char* name : names) {
        std::ifstream in(soundDir + name + ".mp3", std::ios::binary);
        unsigned char header[4] = {};
        in.read(reinterpret_cast<char*>(header), 4);
        ASSERT_TRUE(in) << name;
        EXPECT_EQ(header[0], 0xFF) << name;
        EXPECT_EQ(header[1] & 0xFE, 0xFA) << name;   // MPEG-1 layer III: no tag before the music
        EXPECT_EQ(header[2] & 0x0C, 0x00) << name;   // 44100 Hz
        EXPECT_NE(header[3] & 0xC0, 0xC0) << name;   // not mono
    }
}
