#pragma once

#include "audio/Sound.h"

#include <set>
#include <string>
#include <vector>

// One call that reached the mixer: its name and its integer arguments
// (channel or track number, loop count or volume; -2 where unused).
struct MIXER_EVENT {
    std::string call;
    int first;
    int second;
};

// Replaces the mixer calls with recorders for its lifetime and starts from
// empty sound tables. Every file loads unless it is listed in `missing`.
// Only one exists at a time.
class FakeMixer {
public:
    FakeMixer();
    ~FakeMixer();

    // The events with this call name, in order.
    std::vector<MIXER_EVENT> calls(const std::string& name) const;
    // The file a slot's sample was loaded from, or "" when empty.
    std::string slotFile(int slot) const;

    std::vector<MIXER_EVENT> events;
    std::set<std::string> missing;
    bool allMissing = false;
    std::vector<std::string> samplePaths;
    std::vector<std::string> musicPaths;
};

// A fake mixer with every effect slot and track loaded from a stand-in file.
struct LoadedMixer : FakeMixer {
    LoadedMixer()
    {
        for (int slot = 0; slot < soundSlotCount; slot++)
            addSound("./Sound/any.wav", slot);
        for (int track = 0; track < musicTrackCount; track++)
            addMusic("./Sound/any.mp3", track);
    }
};
