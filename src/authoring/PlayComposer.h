#pragma once

#include <cstdint>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

// Writes a replay that plays the game from its menu along a route: a list
// of legs, each either hand-written keys (the menu, the scenes' lines) or a
// way through a room found by RoomReach. The program itself is run (in a
// copy of the game directory, so that its save slots stay untouched) where
// a leg must learn the frame at which the player is somewhere.
//
// A route file holds one leg a line ('#' starts a comment):
//   include FILE             the legs of another route file
//   slot FILE                the route's first leg: FILE, a save text, becomes
//                            the first save slot, so that a route can play a
//                            part of the game from Continue
//   keys FILE [FIRST LAST]   replay lines whose frames count from the leg's
//                            start; with a range, the lines of frames FIRST
//                            to LAST, LAST being where the next leg starts
//   wait N                   N frames without keys
//   wait-room ROOM           until the program's trace shows the player in ROOM
//   reach ROOM FROM TARGET   from where the program shows the player in ROOM
//                            (FROM, the door he came in by or "here", says
//                            so to the reader), to the element TARGET; the
//                            action key then uses it (takes the door, the
//                            lamp, the switch). The search starts in the pose
//                            the program shows, so a player who comes through
//                            a door still running or falling goes on as he
//                            does in the game. FROM "X,Y" starts a standing
//                            player there without running the program
//   then TARGET              on in the same room from where the last leg ended
//                            (a wait between is played in the room)
// File names are relative to the route file's folder.
class PlayComposer {
public:
    enum LegKind { Slot, Keys, Wait, WaitRoom, Reach, Then };
    struct LEG {
        LegKind kind;
        std::string room, from, target;
        // The replay lines of a Keys leg; the frames of a Wait leg.
        std::string keys;
        int frames = 0;
        // The range of a Keys leg's frames; -1 for all.
        int first = -1, last = -1;
        // Where the leg was written, for messages.
        std::string where;
    };

    // Reads the route and the files it names. Returns 1, or 0 with `error`.
    int readRoute(const char* path);
    // Plays the route in a copy of `gameDir` and fills `replay`. Returns 1,
    // or 0 with `error` naming the leg that failed.
    int compose(const char* gameDir);
    // A digest of what the replay was made from: the route's texts and the
    // level files of the rooms it plays through in `gameDir`.
    std::string fingerprint(const char* gameDir) const;

    std::vector<LEG> legs;
    // The composed replay: a header naming the route, its fingerprint, the
    // command that makes it again and the frames the route plays (its last
    // legs may wait without keys), then the keys.
    std::string replay;
    // The keys composed so far, up to the leg that failed.
    const std::string& keysSoFar() const { return lines; }
    // One line per leg: what was done and at which frame.
    std::string log;
    // Where each line of the log goes as soon as its leg is done; none by default.
    std::FILE* progress = nullptr;
    // A file keeping the ways found, by room, start and target, and where
    // the program showed the player, by the keys before, so that composing
    // again searches and runs only for the legs that changed; empty for none.
    // A stale way cannot pass: the whole replay is played at the end. The
    // file is read again before a leg searches or runs, so that two routes
    // composed at once share what each has found.
    std::string cachePath;
    // Frames the program runs past the last key when the replay is checked.
    int tail = 400;
    char error[512] = "";

private:
    int readFile(const std::string& path, int depth);
    int readLeg(const std::string& folder, const std::string& where, const std::string& line, int depth);
    int playLeg(const LEG& leg);
    int packSlot(const LEG& leg);
    int logLeg(const LEG& leg, int before);
    int shiftKeys(const LEG& leg);
    int reachLeg(const LEG& leg);
    // The way a reach leg takes: from the cache, or searched and then kept.
    int findWay(const LEG& leg, std::vector<uint8_t>* way);
    std::string wayKey(const LEG& leg) const;
    void readCache();
    std::string placeKey(const std::string& room) const;
    void keep(const std::string& key, const std::string& value);
    // Runs the program on the keys so far for `frames` frames; returns its
    // trace, a line of words a frame, or an empty list.
    std::vector<std::vector<std::string>> played(int frames);
    // Runs the program to where the leg starts and at most `lookahead`
    // frames on, until it shows the player in the leg's room; the leg then
    // starts there, in the pose the program shows. Fills `poseRow`.
    int findPlayer(const LEG& leg, int lookahead);
    int fail(const LEG& leg, const std::string& why);

    std::string routePath;
    std::string routeText;
    std::string runDir;
    std::string gameDir;
    // The replay lines composed so far, and the first frame free for the next leg.
    std::string lines;
    int cursor = 0;
    // The room played by the last reach leg and the commands played in it.
    std::string reachRoom;
    std::vector<uint8_t> inRoom;
    // Where that reach started: at (hereX, hereY), or in the pose the
    // program showed (`carried`), given by its trace line.
    int hereX = 0, hereY = 0;
    bool carried = false;
    std::vector<std::string> poseRow;
    // The route's slot leg, if it has one.
    const LEG* slotLeg = nullptr;
    // The keys and the trace of the last run of the program.
    std::string lastRunLines;
    std::vector<std::vector<std::string>> lastRun;
    std::map<std::string, std::vector<uint8_t>> cachedWays;
    // Where the program showed the player ("ROOM X Y"), by placeKey().
    std::map<std::string, std::string> cachedPlaces;
};
