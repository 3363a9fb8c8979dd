// The sound generator run as the data build runs it: the same source always
// gives the same bytes, mistakes in a source are reported by line, and what
// a source says (pitch, loudness, beats) is what comes out; the glides,
// filters and loop folding are heard, and measured in the game's own sounds.

#include "audio/SoundMeasures.h"
#include "base/TestFiles.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

namespace {

using namespace measures;

std::string temp(const std::string& name)
{
    return testing::TempDir() + "soundgen_" + name;
}

std::string writeSource(const std::string& name, const std::string& text)
{
    std::string path = temp(name);
    std::ofstream(path, std::ios::binary) << text;
    return path;
}

int runSoundgen(const std::string& arguments)
{
    std::string command = std::string(GLOAMER_TOOLS_DIR) + "/soundgen " + arguments + " 2>" + temp("errors.txt");
    return std::system(command.c_str());
}

// A mono 16-bit WAV file read by SDL, in -1..1.
std::vector<float> readWav(const std::string& path)
{
    SDL_AudioSpec format;
    Uint8* buffer = nullptr;
    Uint32 length = 0;
    std::vector<float> samples;
    if (!SDL_LoadWAV(path.c_str(), &format, &buffer, &length))
        return samples;
    EXPECT_EQ(format.channels, 1);
    EXPECT_EQ(format.freq, rate);
    const int16_t* pcm = reinterpret_cast<const int16_t*>(buffer);
    for (Uint32 i = 0; i < length / 2; i++)
        samples.push_back(pcm[i] / 32768.0f);
    SDL_FreeWAV(buffer);
    return samples;
}

std::vector<float> renderEffect(const std::string& name, const std::string& source)
{
    std::string out = temp(name + ".wav");
    std::remove(out.c_str());
    EXPECT_EQ(runSoundgen("effect " + writeSource(name + ".sound", source) + " " + out), 0) << readFile(temp("errors.txt"));
    return readWav(out);
}

// Sign changes per second: twice the frequency of a plain tone.
double crossingsPerSecond(const std::vector<float>& s, size_t from, size_t to)
{
    int count = 0;
    for (size_t i = from + 1; i < to; i++)
        count += (s[i - 1] < 0) != (s[i] < 0);
    return count * double(rate) / double(to - from);
}

} // namespace

TEST(Soundgen, TwoRunsWriteTheSameBytesAsTheDataBuild)
{
    const std::string sources = std::string(GLOAMER_SOURCE_DIR) + "/content/";
    const std::string game = std::string(GLOAMER_GAME_DIR) + "/Sound/";
    // A scattered, noisy loop and a composed track exercise every random choice.
    ASSERT_EQ(runSoundgen("effect " + sources + "sounds/waterfill2.sound " + temp("a.wav")), 0);
    ASSERT_EQ(runSoundgen("effect " + sources + "sounds/waterfill2.sound " + temp("b.wav")), 0);
    ASSERT_EQ(runSoundgen("music " + sources + "music/game_over.music " + temp("a.mp3")), 0);
    ASSERT_EQ(runSoundgen("music " + sources + "music/game_over.music " + temp("b.mp3")), 0);
    std::string wav = readFile(temp("a.wav")), mp3 = readFile(temp("a.mp3"));
    ASSERT_GT(wav.size(), 1000u);
    ASSERT_GT(mp3.size(), 1000u);
    EXPECT_TRUE(wav == readFile(temp("b.wav")));
    EXPECT_TRUE(mp3 == readFile(temp("b.mp3")));
    EXPECT_TRUE(wav == readFile(game + "waterfill2.wav"));
    EXPECT_TRUE(mp3 == readFile(game + "game_over.mp3"));
}

TEST(Soundgen, MistakesAreReportedByLineAndWriteNothing)
{
    const char* const broken[] = {
        "length 0.5\nvoice a\n  wave sine\n  wobble 3\n",     // unknown keyword
        "length 0.5\nvoice a\n  wave sine\n  pitch -5\n",     // a pitch must be positive
        "length 0.5\nvoice a\n  wave sine\n  envelope 0 0 0.2\n", // an odd count of values
        "length 0.5\nvoice a\n  wave sine\n  wave hum\n",    // unknown wave
    };
    for (const char* text : broken) {
        std::string out = temp("broken.wav");
        std::remove(out.c_str());
        EXPECT_NE(runSoundgen("effect " + writeSource("broken.sound", text) + " " + out), 0) << text;
        EXPECT_NE(readFile(temp("errors.txt")).find("line 4"), std::string::npos) << text;
        EXPECT_TRUE(readFile(out).empty()) << text;
    }
    // A track whose part names no instrument; one too long to hold in memory.
    const char* const brokenTracks[][2] = {
        {"chords Am\npart a nothing root\n", "line 2"},
        {"tempo 20\nbars 1000\nchords Am\ninstrument i\n  wave sine\npart a i root\n", "at most"},
        {"chords Am\nfadein 2\ninstrument i\n  wave sine\npart a i root\n", "only a track played once"},
    };
    for (const auto& broken : brokenTracks) {
        EXPECT_NE(runSoundgen("music " + writeSource("broken.music", broken[0]) + " " + temp("broken.mp3")), 0);
        EXPECT_NE(readFile(temp("errors.txt")).find(broken[1]), std::string::npos) << broken[0];
    }
    EXPECT_TRUE(readFile(temp("broken.mp3")).empty());
}

TEST(Soundgen, TonesAndLoudnessFollowTheSource)
{
    std::vector<float> tone = renderEffect("tone", "length 0.5\nloudness -20\nvoice a\n  wave sine\n  pitch 1000\n  for 0.45\n");
    ASSERT_EQ(tone.size(), ms(500));
    EXPECT_NEAR(crossingsPerSecond(tone, ms(100), ms(400)), 2000, 20);
    EXPECT_NEAR(loudnessDb(tone), -20, 0.2);

    // A loud source is held below full scale rather than clipped.
    std::vector<float> loud = renderEffect("loud", "length 0.3\nloudness -1\nvoice a\n  wave square\n  pitch 100\n  for 0.3\n");
    EXPECT_LT(peakDb(loud), -0.9f);
    EXPECT_GT(peakDb(loud), -1.2f);
}

TEST(Soundgen, BeatsFallOnTheirSteps)
{
    // Two bars at 120 beats a minute: a hit on every beat, none between.
    std::string source = "tempo 120\nbars 2\nchords Am\ntail 1\n"
                         "instrument tick\n  wave noise\n  highpass 2000\n  adsr 0.001 0 1 0.01\n"
                         "part ticks tick beat pattern x.x.x.x. hold 0.1\n";
    std::string mp3 = temp("beat.mp3"), wav = temp("beat.wav");
    ASSERT_EQ(runSoundgen("music " + writeSource("beat.music", source) + " " + mp3), 0) << readFile(temp("errors.txt"));
    ASSERT_EQ(runSoundgen("decode " + mp3 + " " + wav), 0);
    std::vector<float> s = readWav(wav);
    ASSERT_GT(s.size(), ms(4000));
    // The decoder's start-up delay is shorter than the 20 ms windows' slack.
    for (int beat = 0; beat < 8; beat++) {
        size_t at = ms(500 * beat);
        EXPECT_GT(rmsDb(s, at, at + ms(60)), rmsDb(s, at + ms(200), at + ms(260)) + 20) << "beat " << beat;
    }
    // A loop of whole MP3 frames comes back one frame (26 ms) longer.
    EXPECT_NEAR(seconds(s), 4.0 + 1152.0 / 44100, 0.014);
}
