#pragma once

#include "player/Player.h"
#include "player/PlayerCommands.h"

class Level;
class TileList;

// A room with the player in it, run frame by frame without a screen: the
// player's content and the room are read from a game directory, the player
// is placed, and each frame takes the held commands and updates him. The
// room's own objects stand still unless the caller moves them or sets
// `roomMoves`.
class PlayerRoom {
public:
    PlayerRoom() = default;
    ~PlayerRoom();
    PlayerRoom(const PlayerRoom&) = delete;
    PlayerRoom& operator=(const PlayerRoom&) = delete;

    // Reads the player's content from `gameDir`, its tile library
    // "tiles.dat" and the level file "Level/<levelFile>" in it, and starts
    // a new game. Returns 0 when the character sheet or the level cannot be
    // read; the room must not be run then.
    int load(const char* gameDir, const char* levelFile);
    // Puts the player at (x, y) with nothing to walk back to, or at the
    // element called `name`.
    void place(int x, int y);
    void placeAt(const char* name);
    // One frame with these commands held.
    void frame(const PLAYER_COMMANDS& held);
    // `count` frames with the same commands held.
    void frames(int count, const PLAYER_COMMANDS& held);

    Player player;
    TileList* tiles = nullptr;
    Level* level = nullptr;
    // Frames run since the room was loaded.
    int frameCount = 0;
    // Each frame updates the room (movers, falling things, dogs, water)
    // after the commands and before the player, as the running game does.
    bool roomMoves = false;
};
