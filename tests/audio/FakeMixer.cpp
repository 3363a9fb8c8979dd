#include "audio/FakeMixer.h"

#include <SDL_mixer.h>

namespace {

FakeMixer* current = nullptr;
// Stand-ins for loaded samples and tracks; the fakes never look inside them.
Mix_Chunk chunkPool[256];
char musicPool[256];

void record(const char* call, int first = -2, int second = -2)
{
    current->events.push_back({call, first, second});
}

int chunkIndex(Mix_Chunk* chunk)
{
    return int(chunk - chunkPool);
}

int musicIndex(Mix_Music* track)
{
    return int(reinterpret_cast<char*>(track) - musicPool);
}

bool loads(const char* path)
{
    return !current->allMissing && !current->missing.count(path);
}

int fakeAllocate(int count)
{
    record("allocateChannels", count);
    return count;
}

Mix_Chunk* fakeLoadSample(const char* path)
{
    if (!loads(path) || current->samplePaths.size() >= 256)
        return nullptr;
    current->samplePaths.push_back(path);
    return &chunkPool[current->samplePaths.size() - 1];
}

Mix_Music* fakeLoadMusic(const char* path)
{
    if (!loads(path) || current->musicPaths.size() >= 256)
        return nullptr;
    current->musicPaths.push_back(path);
    return reinterpret_cast<Mix_Music*>(&musicPool[current->musicPaths.size() - 1]);
}

int fakePlayChannel(int channel, Mix_Chunk*, int loops)
{
    record("playChannel", channel, loops);
    return channel;
}

int fakeHalt(int channel)
{
    record("haltChannel", channel);
    return 0;
}

int fakePlayMusic(Mix_Music* track, int loops)
{
    record("playMusic", musicIndex(track), loops);
    return 0;
}

int fakeHaltMusic()
{
    record("haltMusic");
    return 0;
}

int fakeChannelVolume(int channel, int volume)
{
    record("channelVolume", channel, volume);
    return volume;
}

int fakeMusicVolume(int volume)
{
    record("musicVolume", volume);
    return volume;
}

void fakeFreeChunk(Mix_Chunk* chunk)
{
    record("freeChunk", chunkIndex(chunk));
}

void fakeFreeMusic(Mix_Music* track)
{
    record("freeMusic", musicIndex(track));
}

void fakeClose()
{
    record("closeAudio");
}

void emptyTables()
{
    for (int slot = 0; slot < soundSlotCount; slot++) {
        sound[slot] = nullptr;
        soundPlaying[slot] = 0;
    }
    for (int track = 0; track < musicTrackCount; track++)
        music[track] = nullptr;
    active = 1;
    musicPlaying = -1;
}

} // namespace

FakeMixer::FakeMixer()
{
    current = this;
    emptyTables();
    mixer = {fakeAllocate,      fakeLoadSample,  fakeLoadMusic, fakePlayChannel, fakeHalt,  fakePlayMusic,
             fakeHaltMusic,     fakeChannelVolume, fakeMusicVolume, fakeFreeChunk, fakeFreeMusic, fakeClose};
}

FakeMixer::~FakeMixer()
{
    // Released through the fake, so that no later test hands one of its
    // stand-in pointers (the menu music's among them) to the real mixer.
    closeSounds();
    emptyTables();
    mixer = sdlMixerCalls();
    current = nullptr;
}

std::vector<MIXER_EVENT> FakeMixer::calls(const std::string& name) const
{
    std::vector<MIXER_EVENT> found;
    for (const MIXER_EVENT& event : events)
        if (event.call == name)
            found.push_back(event);
    return found;
}

std::string FakeMixer::slotFile(int slot) const
{
    return sound[slot] ? samplePaths[size_t(chunkIndex(sound[slot]))] : "";
}
