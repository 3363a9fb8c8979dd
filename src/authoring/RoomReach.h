#pragma once

#include "player/PlayerRoom.h"

#include <cstdint>
#include <string>
#include <vector>

// Proves that a person can go from one door of a room to another: a search
// over the commands held in each frame, with the game's own player and room
// code, drawn towards the door along the room's open space (DoorDistance).
// While a room changes by itself (movers, dogs, gas; water until it has
// stopped) all states of one frame are searched before the next, so the
// room is updated once per frame as the running game updates it before the
// player. States are merged on the player's body, speed, pose and animation
// frame, and on the frame while the room changes. A path found is replayed
// on a freshly loaded room before it is given out, so a merge or a room
// change one branch caused cannot make a false proof.
class RoomReach {
public:
    // Commands held in a frame, as bits.
    enum Command { Left = 1, Right = 2, Jump = 4, Up = 8, Down = 16, Walk = 32 };

    // Loads the room GAME_DIR/Level/<levelFile> with the player's content.
    // Returns 1, or 0 with the reason in `error`.
    int load(const char* gameDir, const char* levelFile);

    // Searches a way from the door element `from` (where the player arrives)
    // to touching the door element `to`, so that the action key would use
    // it, without being hurt. Returns 1 with `script` filled, 0 when no way
    // was found within `maxFrames` and `maxNodes` (or the first proof did
    // not replay), -1 with `error` when a door is missing.
    int search(const char* from, const char* to);

    // Runs `commands` (one entry per frame) from the door `from` on a freshly
    // loaded room; true when the player then touches `to` unhurt.
    bool replays(const char* from, const char* to, const std::vector<uint8_t>& commands);

    // The script in the program's replay format ("FRAME down|up KEY"),
    // with the default keys: the commands, then the action key pressed on
    // the frame after the last, which takes the door.
    std::string replayText() const;

    int maxFrames = 1500;
    long maxNodes = 2000000;
    // States carried from one frame to the next in a room that moves by itself.
    int beamWidth = 400;
    // The commands the search may hold (bits of Command): all by default.
    uint8_t allowed = 0xFF;
    // Keys the player holds: by default enough for every locked door, whose
    // keys lie in other rooms.
    int keys = 99;
    // The commands of each frame of the way found.
    std::vector<uint8_t> script;
    // Where the player starts: the `from` element's position.
    int startX = 0;
    int startY = 0;
    // Search figures: states kept, frames searched.
    long nodes = 0;
    int frames = 0;
    char error[256] = "";

    // What of the player one frame hands to the next: everything his
    // movement, collisions and hurts read. The lamp and the look-around do
    // not move him.
    struct BODY {
        int x, y, oldX, oldY, way, pushTimer, life, nKey;
        bool torch, moving, run, crawl, jumping, jumpReleased, onLadder, visible, flying;
        float dy, hitted;
        BoundingBox bbox;
        AnimationControler animation;
    };
    static BODY bodyOf(const Player& p);
    static void restore(Player* p, const BODY& b);

private:
    // The room as its file holds it, or null with `error`.
    Level* freshLevel();
    // Puts the player, as he was after loading, at the element `from` of `level`.
    void enter(Level* level, const char* from);

    std::string gameDir;
    std::string levelFile;
    PlayerRoom room;
    // The player's state right after loading, the same for every search.
    BODY initialBody{};
};
