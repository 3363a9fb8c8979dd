#pragma once

#include <SDL.h>

class Screen;
class Typo;
class TileList;

// The menu state machine. For now it keeps the game state and start codes
// that the application frame reads, shows the title, and quits on Escape;
// its screens arrive later.
class Menu {
public:
    // Game states the frame acts on.
    static constexpr int statePlaying = 2;
    static constexpr int statePaused = 4;
    static constexpr int stateCredits = 5;
    // Start code: resume the paused game.
    static constexpr int startResume = 3;

    void init(Typo* typo, TileList* tiles);
    // Handles one key press; returns 1 when the player asked to quit the
    // program, which the frame then does.
    int input(SDL_Event event);
    void update();
    void draw(Screen* screen);

    int getGameState() const { return gameState; }
    void setGameState(int state) { gameState = state; }
    int getStartGame() const { return startGame; }
    void setStartGame(int code) { startGame = code; }
    char* getSlotName() { return slotFile; }

    int gameState = 1;
    int startGame = 0;
    char slotFile[256] = "";

private:
    Typo* typo = nullptr;
};
