#pragma once

#include "assets/Tile.h"
#include "assets/Typo.h"
#include "save/SlotWriter.h"

#include <SDL.h>

struct DOOR;
class Hud;
class Level;
class LevelView;
class Movie;
class Player;
class Screen;
class TileList;

// The game-over sequence: a death fades the room to grey and black
// (stages 1 to 4), then waits for a key showing "GAME OVER" (stage 5).
// Stages 6 and 7 come from the end of the game; 7 makes the frame leave it.
struct GAME_OVER {
    int stage = 0;
    float saturation = 1.0f;
    float luminance = 1.0f;
    // Grows through the death animation; also the jitter of the dying player.
    float time = 0.0f;
    Tile candle;
    float candleFrame = 0.0f;
};

// The running game: the player in the current room, the camera, the
// cutscene, the HUD, the death sequence and the lighting worker around every
// change of room. One instance lives for the whole run; every new or
// continued game reuses it.
class World {
public:
    // Game-over stages.
    enum Stage { StageNone = 0, StageDied = 1, StageGrey = 2, StageDark = 3, StageGrow = 4, StageWait = 5,
                 StageEnding = 6, StageFinished = 7 };
    // Horizontal and vertical margins the easing camera keeps hidden at the room's edges.
    static const int marginX = 16;
    static const int marginY = 32;

    World();
    ~World();
    World(const World&) = delete;
    World& operator=(const World&) = delete;

    // Loads the tile library, the candle and the small font, and builds the
    // player, the HUD and the opening scene (the frame's loading step).
    // Returns 1, or 0 when the player's character sheet is missing or damaged.
    int loadContent();
    // Makes the off-screen layers the size of `screen`.
    void initLayer(Screen* screen);

    // A new game from the start file (beginFile), under the opening scene,
    // stored in the slot at once. The game stored in the slot. Each returns
    // 1, or 0 with the reason in `failure` when the start file or the slot
    // cannot be read or its room does not load; the slot is then left as it was.
    int init(Typo* typo, Screen* screen, char* slotFile);
    int initContinue(Typo* typo, Screen* screen, char* slotFile);
    // A new game in the level file `levelFile` of "./Level/" at (x, y),
    // without the start file and the opening scene; stored in the slot at once.
    void startAt(const char* levelFile, int x, int y, Typo* typo, Screen* screen);

    void update(Screen* screen);
    void draw(Screen* screen);

    // Through a door of the current level.
    void nextLevel(DOOR* door, Typo* typo, Screen* screen);
    // Puts the player at (x, y) in the level file `levelFile` (a cutscene's move).
    void changeLevel(const char* levelFile, int x, int y, Typo* typo, Screen* screen);

    // Pausing also pauses the lighting worker.
    void pause();
    void pause(bool on);
    void setControl(bool on) { control = on; }

    // Camera: focus jumps with margins, follow eases with a dead zone,
    // follow2 jumps without margins.
    void focus(int x, int y, Screen* screen);
    void follow(int x, int y, Screen* screen);
    void follow2(int x, int y, Screen* screen);
    // Frame pacing: sync() sleeps until frameTime milliseconds of the
    // precise clock have passed since the end of the previous frame.
    void setFps(float fps);
    void sync();

    // In-game input: one key-down event, then once per frame the held keys.
    void input1(SDL_Event event, Typo* typo, Screen* screen);
    void input2(int* keys, Typo* typo, Screen* screen);
    void pressKey(int key, Typo* typo, Screen* screen);
    static int keyState(int* keys, int key);

    // Scenes are skipped by holding the action this many frames (a second).
    static const int skipHoldFrames = 30;
    // The hint that tells how to skip shows for the first frames of a scene.
    static const int skipHintFrames = 60;
    // Plays the rest of the scene at once: every remaining action takes
    // effect frame by frame as it would have, the world moving with it, but
    // nothing is drawn, no message opens, no effect sounds and the waits
    // take no time, so the game goes on where the scene would have left it.
    void skipScene(Typo* typo, Screen* screen);

    // Slot files. The binary slot is written on the slot writer's thread;
    // reading one first waits for the write under way.
    void saveStateBinary(char* path);
    void saveStateBinary(char* path, char* levelName);
    // Returns 1, or 0 with the reason in `failure`.
    int loadStateBinary(char* path, Typo* typo, Screen* screen);
    void saveState(char* path);
    void loadState(char* path, Typo* typo, Screen* screen);

    // The two steps of a slot load after the file has been read. Coming
    // back after a death: one continue less and full life, or the checkpoint
    // when none is left; the slot is stored at once. Then the stored room
    // is entered (with the lamp and the map's mark unless `lampAndMap` is false).
    void applyDeathRule(char* levelPath, int respawnBefore);
    // Returns 1, or 0 with the reason in `failure` when the room does not load.
    int enterStoredLevel(char* levelPath, bool lampAndMap, Typo* typo, Screen* screen);

    // A message for the player about the game itself (a save that failed),
    // shown in the room's message box on the next frame and on standard error.
    void tellPlayer(const char* message);

    // Stops the lighting worker for good, before the process ends.
    void stopLighting();

    // The room's lighting: a worker thread beside the game (the game's
    // way), or one pass per frame on the main thread, so that a replayed
    // run gives the same pictures on every machine.
    bool lightOnMainThread = false;
    // With the lighting on the main thread: whether this frame's update
    // lights the room (a run that looks at only some frames skips the rest).
    bool lightThisFrame = true;
    // Frames are paced to frameTime; off, frames run as fast as they can.
    bool pacing = true;
    // A repeatable run waits for each slot it hands the writer this many
    // frames later (0: before the frame goes on) and tells its failure then,
    // on the same frame every time; -1, as in a person's game, never waits
    // and tells a failure when the writer reports it.
    int slotWaitFrames = -1;
    SlotWriter slots;
    // The millisecond clock the cutscene waits read (tests and repeatable
    // runs give their own).
    unsigned (*clock)() = nullptr;
    // Lighting workers started since construction.
    int workerStarts = 0;

    LevelView* view = nullptr;
    Player* player = nullptr;
    Hud* hud = nullptr;
    Typo smallTypo;
    TileList* tiles = nullptr;
    Level* level = nullptr;
    Movie* movie = nullptr;
    char slotFile[256] = "";
    // The slot every new game begins from.
    const char* beginFile = "./Save/begin.sav";
    // Why the last game could not be begun or continued, for the player.
    char failure[256] = "";
    bool paused = false;
    bool control = true;
    bool moviePlaying = false;
    bool threadStarted = false;
    bool hudVisible = true;
    bool died = false;
    GAME_OVER gameOver;
    int camX = 0;
    int camY = 0;
    int targetX = 0;
    int targetY = 0;
    int frameTime = 33;
    // When the previous frame ended, in microseconds of preciseTicks().
    unsigned long long lastFrameEnd = 0;
    float luminance = 1.0f;
    int frameCount = 0;
    // Where the player was put in the current room when he came in.
    int entranceX = 0;
    int entranceY = 0;
    // The message tellPlayer leaves for the next frame; empty when none.
    char notice[256] = "";
    static const int noticeSeconds = 6;
    // Frames until the slot handed over last is waited for; -1 when none is due.
    int slotWaitIn = -1;
    // Frames the current scene has run, and of those the last ones in a row
    // with the action held.
    int sceneFrames = 0;
    int skipHeld = 0;
    // A cutscene's focus: through the rest of the scene the camera eases
    // onto this point instead of jumping onto the player, until the scene
    // ends or the room changes.
    bool focusHeld = false;
    int focusX = 0;
    int focusY = 0;

private:
    // What every game begins with: no game over, the player reset.
    void beginGame();
    // Reads and compiles the room at `path`; null when it cannot be run.
    Level* readLevel(const char* path, Typo* typo, Screen* screen);
    // Makes `next` the current room: the worker stops, the old room goes,
    // the player's lamp joins the new one.
    void enterLevel(Level* next);
    // What follows every change of room: the lamp at the hand and the map's
    // current room (unless `lampAndMap` is false), the player's memories of
    // the room, the camera on him, the worker lighting the room.
    void settleInLevel(const char* path, bool lampAndMap, Screen* screen);
    void startWorker(Screen* screen);
    // Reading a slot into the player; levelPath (size bytes) receives the
    // path of the room stored. Returns 0 when nothing was read.
    int readStateBinary(char* path, char* levelPath, int size);
    int restartAtEntrance(Typo* typo, Screen* screen);
    // Tells the player of a failed write the slot writer reports; under
    // slotWaitFrames, first waits for the slot when its frame has come.
    void noticeFailedSave();
    void showNotice();
    int readState(char* path, char* levelPath, int size);
    void steerPlayer(int* keys);
    void holdFocus(int x, int y);
    void holdFocusOnElement(char* name);
    void aimCamera(Screen* screen);
    void startMovie(int scene);
    // Counts the frames of a scene; true once the action has been held long enough to skip it.
    bool skipAsked(bool actionHeld);
    void drawSkipHint(Screen* screen);
    void checkDeath();
    void applyMovieCode(int code, Typo* typo, Screen* screen);
    void drawGameOver1(Screen* screen);
    void drawGameOver2(Screen* screen);
    void drawPlayer(Screen* screen);
};
