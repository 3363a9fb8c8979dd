#pragma once

#include <SDL.h>

class Screen;
class Typo;

// The game-over sequence; 7 in `stage` makes the frame leave the game.
struct GAME_OVER {
    int stage = 0;
    float luminance = 1.0f;
};

// The running game. For now it only paces frames and keeps the state the
// application frame reads; rooms, the player and the rest arrive later.
class World {
public:
    World() = default;
    ~World();
    World(const World&) = delete;
    World& operator=(const World&) = delete;

    void initLayer(Screen* screen);
    void init(Typo* typo, Screen* screen, char* slotFile);
    void initContinue(Typo* typo, Screen* screen, char* slotFile);
    void pause(bool on);
    void input1(SDL_Event event, Typo* typo, Screen* screen);
    void input2(int* keys, Typo* typo, Screen* screen);
    void update(Screen* screen);
    void draw(Screen* screen);
    void loadStateBinary(char* file, Typo* typo, Screen* screen);

    // Frame pacing: sync() waits until frameTime milliseconds have passed
    // since the end of the previous frame.
    void setFps(float fps);
    void sync();

    // Stops everything that runs beside the main thread, before the process ends.
    void stopLighting();

    Screen* frontLayer = nullptr;
    Screen* entityLayer = nullptr;
    char slotFile[256] = "";
    bool paused = false;
    GAME_OVER gameOver;
    int frameTime = 33;
    unsigned lastTicks = 0;
};
