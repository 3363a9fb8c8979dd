#pragma once

#include "assets/Tile.h"

class Player;
class Screen;
class Typo;

// The head-up display in the top-left corner while a game is played: a skull
// per remaining respawn, a heart per life point and an empty heart per
// missing one, then the coins, diamonds and keys, each with its icon.
class Hud {
public:
    // Reads the icons from the tile container; returns 1 when all were found.
    // A missing icon is left out of the drawing.
    int load(const char* tileFile);
    // The counters' font (not owned).
    void setTypo(Typo* font) { typo = font; }
    // Called by the world every frame; the display has nothing to advance.
    void update(Screen*, const Player*) {}
    // Draws the player's respawns, life, coins, diamonds and keys.
    void draw(Screen* s, const Player* player);

    Tile keyIcon;
    Tile coinIcon;
    Tile diamondIcon;
    Tile skullIcon;
    Tile heartIcon;
    Tile emptyHeartIcon;
    Typo* typo = nullptr;

private:
    // Draws `count` copies of the icon in a row from pen x at y = 2; returns the pen after them.
    static int drawRow(Tile& icon, int count, int penX, Screen* s);
};
