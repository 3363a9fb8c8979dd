#pragma once

#include "authoring/PlayerRoom.h"

#include <cstdint>
#include <functional>
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
    // Action presses the action key in that frame; the search itself never
    // holds it.
    enum Command { Left = 1, Right = 2, Jump = 4, Up = 8, Down = 16, Walk = 32, Action = 64 };

    // Loads the room GAME_DIR/Level/<levelFile> with the player's content.
    // Returns 1, or 0 with the reason in `error`.
    int load(const char* gameDir, const char* levelFile);

    // Searches a way from the door element `from` (where the player arrives)
    // to touching the door element `to`, so that the action key would use
    // it, without being hurt. Returns 1 with `script` filled, 0 when no way
    // was found within `maxFrames` and `maxNodes` (or the first proof did
    // not replay), -1 with `error` when a door is missing.
    int search(const char* from, const char* to);

    // Every place the player can reach from the element `from` (where a
    // door brings him), tried as search() tries them with no door to aim
    // at, states merged on the body alone (not on the animation's
    // picture): `visit` gets his body in each state kept. Returns 1 once every
    // state within `maxFrames` was tried, 0 when `maxNodes` cut the search
    // short, -1 with `error` when the element is missing.
    int flood(const char* from, const std::function<void(const BoundingBox&)>& visit);

    // The room of the last search or flood, as it left it.
    const Level* level() const { return room.level; }

    // Runs `commands` (one entry per frame) from the door `from` on a freshly
    // loaded room; true when the player then touches `to` unhurt.
    bool replays(const char* from, const char* to, const std::vector<uint8_t>& commands);

    // The script in the program's replay format ("FRAME down|up KEY"),
    // with the default keys: the commands, then the action key pressed on
    // the frame after the last, which takes the door.
    std::string replayText() const;
    // The replay lines of `commands` played from frame `first` on, every
    // key let go after the last.
    static std::string replayLines(const std::vector<uint8_t>& commands, int first);

    // Like search(), to touching any element called `element` (a lamp, a
    // switch, a key, a door), where the action key would use it.
    int searchTo(const char* from, const char* element);

    // Commands played from `from` before a search starts: the part of the
    // room already played (lamps taken, switches used), so that a search can
    // go on from where an earlier one ended. Empty by default.
    std::vector<uint8_t> lead;
    // The `from` name that starts the player at (hereX, hereY) instead of
    // at an element: where a scene has left him.
    static constexpr const char* here = "here";
    int hereX = 0;
    int hereY = 0;
    // With `carried`, "here" starts the player in the pose `carriedBody`
    // that the running game shows (still running from the last room,
    // falling, hurt), in the room as `roomUpdates` updates have left it;
    // `tick` is the game's frame count then, which the water's pace follows.
    bool carried = false;
    int tick = 0;
    int roomUpdates = 0;

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
    // Reads the body, the game's frame count and the room's updates from a
    // line of the program's trace, split into words. Returns 1, or 0 when
    // the line is too short or a word is not a number.
    static int fromTrace(const std::vector<std::string>& row, BODY* body, int* tick, int* roomUpdates);
    // What of a carried start a way found from it depends on, as text.
    static std::string poseText(const BODY& body, int tick, int roomUpdates);
    BODY carriedBody{};

private:
    // The search of search() and flood(): towards the door `to`, or with a
    // null `to` through every state, each kept one shown to `visit`.
    int explore(const char* from, const char* to, const std::function<void(const BoundingBox&)>* visit);
    // The room as its file holds it, or null with `error`.
    Level* freshLevel();
    // Puts the player, as he was after loading, at the element `from` of
    // `level`, or in his carried pose, and plays the lead.
    void enter(Level* level, const char* from);
    // The game's frame count of the first frame played from the start, and
    // of the first frame the search itself plays, after the lead.
    int firstTick() const;
    int searchTick() const;

    std::string gameDir;
    std::string levelFile;
    // The element searchTo() aims at, touched as a door is; empty otherwise.
    std::string touchTarget;
    PlayerRoom room;
    // The player's state right after loading, the same for every search.
    BODY initialBody{};
};
