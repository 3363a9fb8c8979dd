#pragma once

// The mixer's types, declared as SDL_mixer declares them, so that including
// the sound tables does not bring in the mixer's header.
struct Mix_Chunk;
typedef struct _Mix_Music Mix_Music;

// Sound effects and music. Every effect has a numbered slot that plays on the
// mixer channel of the same number, so replaying an effect cuts its previous
// instance and different effects never steal each other's channel. Slots 31
// (filling water) and 32 (a moving object) are looping ambiences that the
// pause menu silences and restores. Music tracks have their own table.

const int soundSlotCount = 64;
const int musicTrackCount = 6;
// The track of "./Sound/game_over.mp3", a piece for a death, not a room.
const int gameOverTrack = 3;
// The two looping ambiences.
const int waterFillSlot = 31;
const int movingObjectSlot = 32;
// The footsteps that playStep alternates.
const int firstStepSlot = 28;
const int secondStepSlot = 29;
// What the player hears of his lamps, finds, hurts and spending. Each lamp's
// off sound is the slot after its on sound; the "pick" slots are second
// copies of the on sounds, heard when a lamp is taken from the floor. The
// hurt slots from 19 to 25 hold no sample: those encounters are silent.
const int candleOnSlot = 0;
const int torchOnSlot = 2;
const int acetoOnSlot = 4;
const int coinSlot = 6;
const int bonusSlot = 10;
const int keySlot = 11;
const int diamondSlot = 12;
const int skullSlot = 13;
const int candlePickSlot = 14;
const int sheetSlot = 17;
const int revealSlot = 18;
const int cloudHurtSlot = 19;
const int unstableSlot = 20;
const int electricHurtSlot = 22;
const int toxicHurtSlot = 23;
const int pickHurtSlot = 24;
const int crushSlot = 25;
const int mapSlot = 30;
const int errorSlot = 33;
// What the room makes heard: a coin thrown, a hard impact of a moving
// object, steam puffing and an electric arc starting.
const int throwSlot = 7;
const int impactSlot = 8;
const int steamSlot = 26;
const int arcSlot = 27;

extern Mix_Chunk* sound[soundSlotCount];
// Set when a slot is started, cleared only by stopSound.
extern int soundPlaying[soundSlotCount];
extern Mix_Music* music[musicTrackCount];
// Sound enabled; when 0 nothing starts.
extern int active;
// The track started last, or -1.
extern int musicPlaying;

// The few SDL_mixer calls the sound tables make. They go through this table so
// that tests can record what reaches the mixer without an audio device.
struct MIXER_CALLS {
    int (*allocateChannels)(int count);
    // A sample read in binary mode, or null.
    Mix_Chunk* (*loadSample)(const char* path);
    Mix_Music* (*loadMusic)(const char* path);
    // loops: 0 plays once, -1 forever; no time limit.
    int (*playChannel)(int channel, Mix_Chunk* chunk, int loops);
    int (*haltChannel)(int channel);
    int (*playMusic)(Mix_Music* track, int loops);
    int (*haltMusic)();
    // Volumes on the mixer's 0..128 scale.
    int (*setChannelVolume)(int channel, int volume);
    int (*setMusicVolume)(int volume);
    void (*freeChunk)(Mix_Chunk* chunk);
    void (*freeMusic)(Mix_Music* track);
    void (*closeAudio)();
};

// The calls in use; SDL_mixer's own unless a test replaced them.
extern MIXER_CALLS mixer;
// SDL_mixer's own calls.
MIXER_CALLS sdlMixerCalls();

// Allocates the mixer channels, empties the tables, then loads every effect
// slot and music track from "./Sound/". Missing files leave their slot empty.
void initSounds();
// Frees every loaded sample and track, then closes the audio device.
void closeSounds();
// Loads a sample into slot 0..63 (a failed load leaves the slot empty).
void addSound(const char* path, int slot);
// Loads a music file into track 0..5 (a failed load leaves the track empty).
void addMusic(const char* path, int track);

// Plays the slot once on its channel and marks it as playing.
void playSound(int slot);
// Plays the slot looping forever, unless it is already marked as playing.
void playLoop(int slot);
// Halts the slot's channel when it is marked as playing, and clears the mark.
void stopSound(int slot);
// Plays the track looping forever unless it is the one started last.
void playMusic(int track);
// As playMusic, but plays the track once.
void playMusicOnce(int track);
// The front end's quiet track ("./Sound/menu.mp3", loaded by initSounds
// beside the rooms' tracks): played looping unless it plays already, as a
// track of its own number, menuTrack, so that any room's track replaces it.
const int menuTrack = musicTrackCount;
void playMenuMusic();
// Halts the front end's track if it is the one playing.
void stopMenuMusic();
// Halts the two looping ambiences that are marked as playing; their marks
// stay, so playPausedSounds can restore them. Music continues.
void pauseAllSounds();
// Restarts the looping ambiences that are marked as playing.
void playPausedSounds();
// Plays a footstep, alternating between the two step slots.
void playStep();
// Enables or disables sound.
void setSounds(bool on);
// While held, playSound starts nothing; loops and music are not affected
// (a skipped scene's frames run silently).
void holdEffects(bool on);
// Applies volumes given in percent (clamped to 0..100): the music, and every
// one of the 64 channels, converted to the mixer's 0..128 scale.
void setVolume(int musicPercent, int fxPercent);
// A percentage 0..100 on the mixer's 0..128 scale (times 1.28, truncated).
int mixerVolume(int percent);
