#include "authoring/PlayComposer.h"

#include "authoring/RoomReach.h"
#include "platform/Process.h"
#include "save/SaveState.h"
#include "save/SlotFile.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace fs = std::filesystem;

namespace {

// Route files may include each other this deep; deeper is a loop.
const int deepestInclude = 8;
// Frames a wait-room leg lets the program run before it gives up.
const int longestWait = 1500;
// Frames a reach leg lets the program run for the player to come into its
// room: the door's fade.
const int longestDoor = 60;

bool readWhole(const std::string& path, std::string* text)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return false;
    std::stringstream s;
    s << in.rdbuf();
    *text = s.str();
    return true;
}

std::string withoutComment(const std::string& line)
{
    return line.substr(0, line.find('#'));
}

// The room of each trace line, by its file's name ("metro2").
std::vector<std::string> roomsOf(const std::vector<std::vector<std::string>>& trace)
{
    std::vector<std::string> rooms;
    for (const auto& row : trace) {
        std::string level = row.size() > 1 ? row[1] : "";
        std::size_t slash = level.rfind('/');
        std::string name = slash == std::string::npos ? level : level.substr(slash + 1);
        rooms.push_back(name.substr(0, name.rfind(".lvl")));
    }
    return rooms;
}

// FNV-1a, 64 bits.
void digest(uint64_t* hash, const std::string& bytes)
{
    for (unsigned char c : bytes) {
        *hash ^= c;
        *hash *= 0x100000001B3ull;
    }
}

// The rooms `legs` play in, in order, each once after the other.
std::vector<std::string> routeRooms(const std::vector<PlayComposer::LEG>& legs)
{
    std::vector<std::string> rooms;
    for (const PlayComposer::LEG& leg : legs)
        if ((leg.kind == PlayComposer::Reach || leg.kind == PlayComposer::WaitRoom) &&
            (rooms.empty() || rooms.back() != leg.room))
            rooms.push_back(leg.room);
    return rooms;
}

// Whether `wanted` appears in `played` in its order.
bool playedInOrder(const std::vector<std::string>& played, const std::vector<std::string>& wanted,
                   std::string* missing)
{
    std::size_t next = 0;
    for (const std::string& room : played)
        if (next < wanted.size() && room == wanted[next])
            next++;
    if (next < wanted.size())
        *missing = wanted[next];
    return next == wanted.size();
}

} // namespace

int PlayComposer::readRoute(const char* path)
{
    routePath = path;
    return readFile(path, 0);
}

int PlayComposer::readFile(const std::string& path, int depth)
{
    std::string text;
    if (depth > deepestInclude) {
        std::snprintf(error, sizeof error, "%s: includes nested too deep", path.c_str());
        return 0;
    }
    if (!readWhole(path, &text)) {
        std::snprintf(error, sizeof error, "cannot read %s", path.c_str());
        return 0;
    }
    routeText += text;
    std::string folder = fs::path(path).parent_path().string();
    std::istringstream lines(text);
    std::string line;
    for (int number = 1; std::getline(lines, line); number++)
        if (!readLeg(folder, path + ":" + std::to_string(number), withoutComment(line), depth))
            return 0;
    return 1;
}

int PlayComposer::readLeg(const std::string& folder, const std::string& where, const std::string& line, int depth)
{
    std::istringstream words(line);
    std::string word, extra;
    LEG leg;
    leg.where = where;
    if (!(words >> word))
        return 1;
    bool good = true;
    if (word == "include") {
        good = bool(words >> leg.target) && !(words >> extra);
        return good ? readFile(folder + "/" + leg.target, depth + 1)
                    : (std::snprintf(error, sizeof error, "%s: include needs one file", where.c_str()), 0);
    }
    if (word == "slot") {
        leg.kind = Slot;
        good = legs.empty() && bool(words >> leg.target) && readWhole(folder + "/" + leg.target, &leg.keys);
        leg.target = folder + "/" + leg.target;
        routeText += leg.keys;
    } else if (word == "keys") {
        leg.kind = Keys;
        good = bool(words >> leg.target) && readWhole(folder + "/" + leg.target, &leg.keys);
        if (words >> leg.first)
            good = good && (words >> leg.last) && 0 <= leg.first && leg.first < leg.last;
        routeText += leg.keys;
    } else if (word == "wait") {
        leg.kind = Wait;
        good = bool(words >> leg.frames) && leg.frames > 0;
    } else if (word == "wait-room") {
        leg.kind = WaitRoom;
        good = bool(words >> leg.room);
    } else if (word == "reach") {
        leg.kind = Reach;
        good = bool(words >> leg.room >> leg.from >> leg.target);
    } else if (word == "then") {
        leg.kind = Then;
        good = bool(words >> leg.target);
    } else
        good = false;
    if (!good || (words >> extra)) {
        std::snprintf(error, sizeof error, "%s: bad leg \"%s\"", where.c_str(), line.c_str());
        return 0;
    }
    legs.push_back(leg);
    return 1;
}

int PlayComposer::compose(const char* dir)
{
    gameDir = dir;
    char pattern[] = "/tmp/playcompose_XXXXXX";
    if (!mkdtemp(pattern)) {
        std::snprintf(error, sizeof error, "cannot make a temporary folder");
        return 0;
    }
    runDir = pattern;
    std::error_code copied;
    fs::copy(gameDir, runDir + "/game", fs::copy_options::recursive, copied);
    int good = !copied;
    if (!good)
        std::snprintf(error, sizeof error, "cannot copy %s: %s", dir, copied.message().c_str());
    lines.clear();
    cursor = 0;
    lastRunLines.clear();
    lastRun.clear();
    slotLeg = nullptr;
    for (std::size_t i = 0; good && i < legs.size(); i++)
        good = playLeg(legs[i]);
    std::string missing;
    if (good && !playedInOrder(roomsOf(played(cursor + tail)), routeRooms(legs), &missing)) {
        std::snprintf(error, sizeof error, "the whole replay does not come to %s", missing.c_str());
        good = 0;
    }
    fs::remove_all(runDir, copied);
    if (good)
        replay = "# A playthrough composed by playcompose from " + routePath +
                 "; do not edit it, compose it again:\n#   playcompose GAME_DIR " + routePath +
                 " THIS_FILE\n# fingerprint " + fingerprint(dir) + "\n# frames " + std::to_string(cursor) + "\n" + lines;
    return good;
}

int PlayComposer::playLeg(const LEG& leg)
{
    int before = cursor;
    if (leg.kind == Slot) {
        slotLeg = &leg;
        if (!packSlot(leg))
            return 0;
    } else if (leg.kind == Keys) {
        if (!shiftKeys(leg))
            return 0;
        reachRoom.clear();
    } else if (leg.kind == Wait) {
        cursor += leg.frames;
        // A then after the wait goes on with the wait played in the room.
        if (!reachRoom.empty())
            inRoom.insert(inRoom.end(), std::size_t(leg.frames), uint8_t(0));
    } else if (leg.kind == WaitRoom) {
        if (!findPlayer(leg, longestWait))
            return 0;
        reachRoom.clear();
    } else if (!reachLeg(leg))
        return 0;
    return logLeg(leg, before);
}

int PlayComposer::logLeg(const LEG& leg, int before)
{
    std::string line = leg.where + ": frames " + std::to_string(before) + " to " + std::to_string(cursor) + "\n";
    log += line;
    if (progress) {
        std::fputs(line.c_str(), progress);
        std::fflush(progress);
    }
    return 1;
}

int PlayComposer::packSlot(const LEG& leg)
{
    SAVE_STATE state;
    if (!readSlotText(leg.target.c_str(), state, SaveText::complete))
        return fail(leg, leg.target + " is not a save text");
    if (!writeSlot((runDir + "/game/" + slotPath(0)).c_str(), state, nullptr, SlotBackup::none))
        return fail(leg, "cannot write the first save slot");
    return 1;
}

int PlayComposer::shiftKeys(const LEG& leg)
{
    bool ranged = leg.last >= 0;
    int end = ranged ? cursor + leg.last - leg.first : cursor;
    std::istringstream in(leg.keys);
    std::string line;
    while (std::getline(in, line)) {
        std::istringstream words(withoutComment(line));
        int frame = 0;
        std::string way, key;
        if (!(words >> frame))
            continue;
        if (frame < 0 || !(words >> way >> key))
            return fail(leg, "bad line \"" + line + "\" in " + leg.target);
        // A range takes the keys let go on its last frame, where the next leg starts.
        if (ranged && (frame < leg.first || frame > leg.last || (frame == leg.last && way != "up")))
            continue;
        int at = cursor + frame - (ranged ? leg.first : 0);
        lines += std::to_string(at) + " " + way + " " + key + "\n";
        if (!ranged)
            end = std::max(end, at + 1);
    }
    cursor = end;
    return 1;
}

int PlayComposer::reachLeg(const LEG& leg)
{
    if (leg.kind == Then && reachRoom.empty())
        return fail(leg, "then follows no reach in the same room");
    if (leg.kind == Reach) {
        reachRoom = leg.room;
        inRoom.clear();
        // The search starts where and as the program shows the player: he
        // may come through the door still running or falling.
        carried = std::sscanf(leg.from.c_str(), "%d,%d", &hereX, &hereY) != 2;
        if (carried && !findPlayer(leg, longestDoor))
            return 0;
    }
    std::vector<uint8_t> way;
    if (!findWay(leg, &way))
        return 0;
    std::vector<uint8_t> played = way;
    played.push_back(RoomReach::Action);
    lines += RoomReach::replayLines(played, cursor);
    cursor += int(played.size());
    inRoom.insert(inRoom.end(), played.begin(), played.end());
    return 1;
}

int PlayComposer::findWay(const LEG& leg, std::vector<uint8_t>* way)
{
    std::string key = wayKey(leg);
    if (!cachePath.empty() && !cachedWays.count(key))
        readCache();
    auto cached = cachedWays.find(key);
    if (cached != cachedWays.end()) {
        *way = cached->second;
        return 1;
    }
    RoomReach reach;
    if (!reach.load((runDir + "/game").c_str(), (reachRoom + ".lvl").c_str()))
        return fail(leg, reach.error);
    reach.lead = inRoom;
    reach.hereX = hereX;
    reach.hereY = hereY;
    reach.carried = carried && RoomReach::fromTrace(poseRow, &reach.carriedBody, &reach.tick, &reach.roomUpdates);
    int found = reach.searchTo(RoomReach::here, leg.target.c_str());
    if (found < 0)
        return fail(leg, reach.error);
    if (!found)
        return fail(leg, "no way to " + leg.target + " within the search's budget");
    *way = reach.script;
    cachedWays[key] = *way;
    std::string commands;
    for (uint8_t command : *way)
        commands += {char('a' + command / 16), char('a' + command % 16)};
    keep(key, commands);
    return 1;
}

void PlayComposer::keep(const std::string& key, const std::string& value)
{
    if (key[0] == '@')
        cachedPlaces[key] = value;
    if (!cachePath.empty())
        std::ofstream(cachePath, std::ios::app) << key << ' ' << value << '\n';
}

// What a search's way depends on: the room's file, where and in which pose
// it starts, the commands already played in the room, and its target.
std::string PlayComposer::wayKey(const LEG& leg) const
{
    std::string room;
    readWhole(gameDir + "/Level/" + reachRoom + ".lvl", &room);
    uint64_t hash = 0xCBF29CE484222325ull;
    digest(&hash, room);
    digest(&hash, std::string(inRoom.begin(), inRoom.end()));
    RoomReach::BODY pose{};
    int tick = 0, roomUpdates = 0;
    std::string start = carried && RoomReach::fromTrace(poseRow, &pose, &tick, &roomUpdates)
                            ? RoomReach::poseText(pose, tick, roomUpdates)
                            : std::to_string(hereX) + " " + std::to_string(hereY);
    digest(&hash, start + " " + leg.target);
    char text[32];
    std::snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(hash));
    return text;
}

void PlayComposer::readCache()
{
    std::ifstream in(cachePath);
    std::string key, commands;
    while (in >> key) {
        if (key[0] == '@') {
            std::getline(in, commands);
            cachedPlaces[key] = commands;
            continue;
        }
        if (!(in >> commands))
            break;
        std::vector<uint8_t> way;
        for (std::size_t i = 0; i + 1 < commands.size(); i += 2)
            way.push_back(uint8_t((commands[i] - 'a') * 16 + (commands[i + 1] - 'a')));
        cachedWays[key] = way;
    }
}

std::vector<std::vector<std::string>> PlayComposer::played(int frames)
{
    // A run that went as far on the same keys answers again.
    if (lines == lastRunLines && int(lastRun.size()) >= frames)
        return lastRun;
    std::string keys = runDir + "/keys.replay", trace = runDir + "/trace.tsv";
    std::ofstream(keys) << lines;
    std::remove(trace.c_str());
    // The game stores the slot at every door: each run continues from the
    // route's slot again (through --slot 0), or begins its new game on an
    // empty first slot (on a stored game the menu would ask before
    // overwriting it).
    if (slotLeg && !packSlot(*slotLeg))
        return {};
    if (!slotLeg)
        std::remove((runDir + "/game/Save/slot0.sav").c_str());
    int status =
        runProgram({"./gloamer", "--fast", "--slot", "0", "--frames", std::to_string(frames), "--replay", keys, "--trace", trace},
                   runDir + "/game", {"SDL_VIDEODRIVER=dummy", "SDL_AUDIODRIVER=dummy"}, runDir + "/stderr.txt");
    std::vector<std::vector<std::string>> rows;
    if (status != 0)
        return rows;
    std::ifstream in(trace);
    std::string line;
    while (std::getline(in, line)) {
        std::istringstream words(line);
        rows.emplace_back();
        for (std::string w; words >> w;)
            rows.back().push_back(w);
    }
    lastRunLines = lines;
    lastRun = rows;
    return rows;
}

int PlayComposer::findPlayer(const LEG& leg, int lookahead)
{
    std::string key = placeKey(leg.room);
    std::vector<std::string> row;
    if (!cachePath.empty() && !cachedPlaces.count(key))
        readCache();
    auto cached = cachedPlaces.find(key);
    if (cached != cachedPlaces.end()) {
        std::istringstream words(cached->second);
        for (std::string w; words >> w;)
            row.push_back(w);
    }
    RoomReach::BODY pose{};
    int tick = 0, roomUpdates = 0;
    if (!RoomReach::fromTrace(row, &pose, &tick, &roomUpdates)) {
        std::vector<std::vector<std::string>> rows = played(cursor + lookahead);
        std::vector<std::string> rooms = roomsOf(rows);
        int found = std::max(cursor - 1, 0);
        if (found >= int(rows.size()))
            return fail(leg, "the program did not run to the leg's start");
        while (found < int(rooms.size()) && rooms[found] != leg.room)
            found++;
        if (found >= int(rooms.size()))
            return fail(leg, "the player is in " + rooms[std::max(cursor - 1, 0)] + " and does not come to " + leg.room);
        row = rows[found];
        if (!RoomReach::fromTrace(row, &pose, &tick, &roomUpdates))
            return fail(leg, "the program's trace shows no pose");
        std::string words;
        for (const std::string& w : row)
            words += " " + w;
        keep(key, words);
    }
    poseRow = row;
    cursor = std::atoi(row[0].c_str()) + 1;
    return 1;
}

// Where the program shows the player depends on the keys played so far,
// the slot continued from, and the room waited for.
std::string PlayComposer::placeKey(const std::string& room) const
{
    uint64_t hash = 0xCBF29CE484222325ull;
    digest(&hash, lines + std::to_string(cursor) + (slotLeg ? slotLeg->keys : "") + " " + room);
    char text[32];
    std::snprintf(text, sizeof text, "@%016llx", static_cast<unsigned long long>(hash));
    return text;
}

int PlayComposer::fail(const LEG& leg, const std::string& why)
{
    std::snprintf(error, sizeof error, "%s: %s", leg.where.c_str(), why.c_str());
    return 0;
}

std::string PlayComposer::fingerprint(const char* dir) const
{
    uint64_t hash = 0xCBF29CE484222325ull;
    digest(&hash, routeText);
    for (const std::string& room : routeRooms(legs)) {
        std::string bytes;
        readWhole(std::string(dir) + "/Level/" + room + ".lvl", &bytes);
        digest(&hash, room + bytes);
    }
    char text[32];
    std::snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(hash));
    return text;
}
