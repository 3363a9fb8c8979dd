// soundgen: renders the game's sounds from their readable sources.
//
//   soundgen effect SOURCE OUT.wav     one sound effect as 16-bit PCM WAV
//   soundgen music SOURCE OUT.mp3      one music track as MP3
//   soundgen decode IN.mp3 OUT.wav     an MP3 back to WAV, to check it
//   soundgen review OUT.png FONT FILE... waveform and spectrogram of each file
//
// Every run of the same source writes the same bytes.

#include "AudioFile.h"
#include "Effect.h"
#include "Mix.h"
#include "Music.h"
#include "Review.h"

#include <cstdio>
#include <cstring>
#include <string>

namespace {

// Bit rate of the music: mono, so this is generous for quiet, sparse tracks.
const int musicKilobits = 96;

int fail(const char* what, const std::string& why)
{
    std::fprintf(stderr, "soundgen: %s: %s\n", what, why.c_str());
    return 1;
}

int makeEffect(const char* source, const char* out)
{
    EFFECT effect;
    std::string error;
    if (!readEffect(source, effect, error))
        return fail(source, error);
    if (!writeWav(out, toPcm(renderEffect(effect))))
        return fail(out, "cannot write");
    return 0;
}

int makeMusic(const char* source, const char* out)
{
    TRACK track;
    std::string error;
    if (!readTrack(source, track, error))
        return fail(source, error);
    if (!writeMp3(out, toPcm(renderTrack(track)), musicKilobits))
        return fail(out, "cannot encode");
    return 0;
}

int decode(const char* in, const char* out)
{
    std::vector<float> samples;
    if (!readMp3(in, samples))
        return fail(in, "cannot decode");
    if (!writeWav(out, toPcm(samples)))
        return fail(out, "cannot write");
    return 0;
}

int usage()
{
    std::fprintf(stderr, "usage: soundgen effect|music SOURCE OUT | decode IN.mp3 OUT.wav | review OUT.png FONT FILE...\n");
    return 2;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 4)
        return usage();
    std::string command = argv[1];
    if (command == "effect" && argc == 4)
        return makeEffect(argv[2], argv[3]);
    if (command == "music" && argc == 4)
        return makeMusic(argv[2], argv[3]);
    if (command == "decode" && argc == 4)
        return decode(argv[2], argv[3]);
    if (command == "review" && argc >= 5) {
        std::string error;
        if (!writeReview(argv[2], argv[3], argc - 4, argv + 4, error))
            return fail(argv[2], error);
        return 0;
    }
    return usage();
}
