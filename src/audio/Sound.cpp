#include "audio/Sound.h"

#include "base/Log.h"

#include <SDL_mixer.h>

#include <cstring>

Mix_Chunk* sound[soundSlotCount];
int soundPlaying[soundSlotCount];
Mix_Music* music[musicTrackCount];
int active = 1;
int musicPlaying = -1;

namespace {

struct SLOT_FILE {
    int slot;
    const char* path;
};

// Slots not listed stay empty. Slots 14, 15, 16 and 18 hold second copies so
// that the same sample can sound on two channels at once.
const SLOT_FILE effectFiles[] = {
    {0, "./Sound/candle8on.wav"},  {1, "./Sound/candle8off.wav"}, {2, "./Sound/torch8on.wav"},
    {3, "./Sound/torch8off.wav"},  {4, "./Sound/aceto8on.wav"},   {5, "./Sound/aceto8off.wav"},
    {6, "./Sound/get8coin.wav"},   {7, "./Sound/throw.wav"},      {8, "./Sound/hit1.wav"},
    {9, "./Sound/extinct.wav"},    {10, "./Sound/bonus.wav"},     {11, "./Sound/getkey.wav"},
    {12, "./Sound/getdiam.wav"},   {13, "./Sound/getskull.wav"},  {14, "./Sound/candle8on.wav"},
    {15, "./Sound/torch8on.wav"},  {16, "./Sound/aceto8on.wav"},  {17, "./Sound/sheet.wav"},
    {18, "./Sound/bonus.wav"},     {26, "./Sound/steam.wav"},     {27, "./Sound/electric.wav"},
    {28, "./Sound/step1.wav"},     {29, "./Sound/step2.wav"},     {30, "./Sound/map.wav"},
    {31, "./Sound/waterfill2.wav"}, {32, "./Sound/move.wav"},     {33, "./Sound/error.wav"},
};

const char* const musicFiles[musicTrackCount] = {
    "./Sound/05.underwater.mp3", "./Sound/07.lost.mp3",    "./Sound/09.love_is_dead.mp3",
    "./Sound/game_over.mp3",     "./Sound/02.love.mp3",    "./Sound/01.catacombs.mp3",
};

const char* const menuMusicFile = "./Sound/menu.mp3";
Mix_Music* menuMusic = nullptr;

const int playOnce = 0;
const int loopForever = -1;

// Which footstep plays next: 0 the first, 1 the second.
int nextStep = 0;
bool effectsHeld = false;

Mix_Chunk* sdlLoadSample(const char* path)
{
    SDL_RWops* file = SDL_RWFromFile(path, "rb");
    return file ? Mix_LoadWAV_RW(file, 1) : nullptr;
}

int sdlPlayChannel(int channel, Mix_Chunk* chunk, int loops)
{
    return Mix_PlayChannelTimed(channel, chunk, loops, -1);
}

bool validSlot(int slot)
{
    return slot >= 0 && slot < soundSlotCount;
}

bool validTrack(int track)
{
    return track >= 0 && track < musicTrackCount;
}

// Whether a play request on the slot can start anything at all.
bool playable(int slot)
{
    return validSlot(slot) && active && sound[slot];
}

void releaseSlot(int slot)
{
    if (sound[slot])
        mixer.freeChunk(sound[slot]);
    sound[slot] = nullptr;
    soundPlaying[slot] = 0;
}

void releaseTrack(int track)
{
    if (music[track])
        mixer.freeMusic(music[track]);
    music[track] = nullptr;
}

void startMusic(int track, int loops)
{
    if (!validTrack(track) || !active || !music[track] || track == musicPlaying)
        return;
    mixer.playMusic(music[track], loops);
    musicPlaying = track;
}

void releaseMenuMusic()
{
    if (menuMusic)
        mixer.freeMusic(menuMusic);
    menuMusic = nullptr;
}

// Restarts a looping ambience that the pause silenced.
void resumeLoop(int slot)
{
    if (soundPlaying[slot] && playable(slot))
        mixer.playChannel(slot, sound[slot], loopForever);
}

// Constant-initialised, so that it is in place before any other global is built.
constexpr MIXER_CALLS sdlCalls = {
    Mix_AllocateChannels, sdlLoadSample, Mix_LoadMUS,   sdlPlayChannel, Mix_HaltChannel, Mix_PlayMusic,
    Mix_HaltMusic,        Mix_Volume,    Mix_VolumeMusic, Mix_FreeChunk, Mix_FreeMusic,  Mix_CloseAudio,
};

// Some files fill two slots; a damaged one is reported for its first.
bool loadedBefore(std::size_t effect)
{
    for (std::size_t i = 0; i < effect; i++)
        if (std::strcmp(effectFiles[i].path, effectFiles[effect].path) == 0)
            return true;
    return false;
}

} // namespace

MIXER_CALLS mixer = sdlCalls;

MIXER_CALLS sdlMixerCalls()
{
    return sdlCalls;
}

void initSounds()
{
    mixer.allocateChannels(soundSlotCount);
    // Anything a previous start-up loaded is released rather than leaked.
    for (int slot = 0; slot < soundSlotCount; slot++)
        releaseSlot(slot);
    for (int track = 0; track < musicTrackCount; track++)
        releaseTrack(track);
    musicPlaying = -1;
    nextStep = 0;
    for (std::size_t i = 0; i < sizeof effectFiles / sizeof effectFiles[0]; i++) {
        addSound(effectFiles[i].path, effectFiles[i].slot);
        if (!sound[effectFiles[i].slot] && !loadedBefore(i))
            reportProblem("%s is missing or damaged; the game goes on without this sound.\n", effectFiles[i].path);
    }
    for (int track = 0; track < musicTrackCount; track++) {
        addMusic(musicFiles[track], track);
        if (!music[track])
            reportProblem("%s is missing or damaged; the game goes on without this music.\n", musicFiles[track]);
    }
    releaseMenuMusic();
    menuMusic = mixer.loadMusic(menuMusicFile);
    if (!menuMusic)
        reportProblem("%s is missing or damaged; the game goes on without this music.\n", menuMusicFile);
}

void closeSounds()
{
    for (int slot = 0; slot < soundSlotCount; slot++)
        releaseSlot(slot);
    for (int track = 0; track < musicTrackCount; track++)
        releaseTrack(track);
    releaseMenuMusic();
    musicPlaying = -1;
    mixer.closeAudio();
}

void addSound(const char* path, int slot)
{
    if (!validSlot(slot))
        return;
    releaseSlot(slot);
    sound[slot] = mixer.loadSample(path);
}

void addMusic(const char* path, int track)
{
    if (!validTrack(track))
        return;
    releaseTrack(track);
    if (musicPlaying == track)
        musicPlaying = -1;
    music[track] = mixer.loadMusic(path);
}

void playSound(int slot)
{
    if (!playable(slot) || effectsHeld)
        return;
    mixer.playChannel(slot, sound[slot], playOnce);
    soundPlaying[slot] = 1;
}

void playLoop(int slot)
{
    if (!playable(slot) || soundPlaying[slot])
        return;
    mixer.playChannel(slot, sound[slot], loopForever);
    soundPlaying[slot] = 1;
}

void stopSound(int slot)
{
    if (!playable(slot) || !soundPlaying[slot])
        return;
    mixer.haltChannel(slot);
    soundPlaying[slot] = 0;
}

void playMusic(int track)
{
    startMusic(track, loopForever);
}

void playMusicOnce(int track)
{
    startMusic(track, playOnce);
}

void playMenuMusic()
{
    if (!active || !menuMusic || musicPlaying == menuTrack)
        return;
    mixer.playMusic(menuMusic, loopForever);
    musicPlaying = menuTrack;
}

void stopMenuMusic()
{
    if (musicPlaying != menuTrack)
        return;
    mixer.haltMusic();
    musicPlaying = -1;
}

void pauseAllSounds()
{
    if (soundPlaying[waterFillSlot])
        mixer.haltChannel(waterFillSlot);
    if (soundPlaying[movingObjectSlot])
        mixer.haltChannel(movingObjectSlot);
}

void playPausedSounds()
{
    resumeLoop(waterFillSlot);
    resumeLoop(movingObjectSlot);
}

void playStep()
{
    playSound(nextStep ? secondStepSlot : firstStepSlot);
    nextStep = !nextStep;
}

void setSounds(bool on)
{
    active = on ? 1 : 0;
}

void holdEffects(bool on)
{
    effectsHeld = on;
}

int mixerVolume(int percent)
{
    if (percent < 0)
        percent = 0;
    if (percent > 100)
        percent = 100;
    return int(percent * 1.28);
}

void setVolume(int musicPercent, int fxPercent)
{
    mixer.setMusicVolume(mixerVolume(musicPercent));
    int fx = mixerVolume(fxPercent);
    for (int channel = 0; channel < soundSlotCount; channel++)
        mixer.setChannelVolume(channel, fx);
}
