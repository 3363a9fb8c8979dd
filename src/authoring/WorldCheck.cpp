#include "authoring/WorldCheck.h"

#include "base/TextReader.h"
#include "assets/Tile.h"
#include "assets/TileList.h"
#include "audio/Sound.h"
#include "level/Element.h"
#include "level/KindLine.h"
#include "level/Level.h"
#include "map/Map.h"

#include <cstdio>
#include <cstring>
#include <map>

namespace {

const char* const levelSuffix = ".lvl";

// A square as the map labels it: "G6".
std::string label(int column, int row)
{
    return std::string(1, char('A' + column - 1)) + std::to_string(row + 1);
}

int sign(int v)
{
    return (v > 0) - (v < 0);
}

const char* sideName(const PASSAGE_END& end)
{
    int dc = sign(end.towardsColumn - end.column), dr = sign(end.towardsRow - end.row);
    return dc > 0 ? "east" : dc < 0 ? "west" : dr > 0 ? "bottom" : "top";
}

// The end of a passage at the square (x, y) of the map's link, in map pixels.
PASSAGE_END endAt(const WorldCheck& world, const MAP_CELL* cell, int x, int y, int otherX, int otherY)
{
    PASSAGE_END end;
    end.room = cell ? world.roomIndex(stemOf(cell->name)) : -1;
    end.column = x / Map::square + 1;
    end.row = y / Map::square;
    end.towardsColumn = otherX / Map::square + 1;
    end.towardsRow = otherY / Map::square;
    return end;
}

// FNV-1a over bytes, continuing from `hash`.
uint64_t mixed(uint64_t hash, const void* bytes, std::size_t size)
{
    const unsigned char* b = static_cast<const unsigned char*>(bytes);
    for (std::size_t i = 0; i < size; i++)
        hash = (hash ^ b[i]) * 0x100000001B3ull;
    return hash;
}

// The level file's bytes and the depth of every pixel of its map.
uint64_t fingerprintOf(const std::string& path, const Level& level)
{
    uint64_t hash = 0xCBF29CE484222325ull;
    std::FILE* f = std::fopen(path.c_str(), "rb");
    char chunk[4096];
    for (std::size_t n; f && (n = std::fread(chunk, 1, sizeof chunk, f)) > 0;)
        hash = mixed(hash, chunk, n);
    if (f)
        std::fclose(f);
    for (long long i = 0; level.map && i < (long long)level.mapWidth * level.mapHeight; i++)
        hash = mixed(hash, &level.map[i].depth, sizeof level.map[i].depth);
    return hash;
}

bool isEmptyEnd(const PASSAGE_END& end)
{
    return end.room < 0;
}

} // namespace

const char* const WorldCheck::startRoom = "metro2";
const int WorldCheck::endingScenes[2] = {8, 9};

int WorldCheck::roomIndex(const std::string& stem) const
{
    for (std::size_t i = 0; i < rooms.size(); i++)
        if (rooms[i].stem == stem)
            return int(i);
    return -1;
}

int WorldCheck::run(const char* gameDir)
{
    problems.clear();
    readTable();
    TileList tiles((std::string(gameDir) + "/tiles.dat").c_str(), true);
    for (WORLD_ROOM& room : rooms)
        readRoom(&room, gameDir, &tiles);
    for (const WORLD_ROOM& room : rooms)
        checkRoom(room);
    for (const auto& passage : passages)
        checkPassage(passage.first, passage.second);
    checkStrayDoors();
    checkReach();
    return int(problems.size());
}

void WorldCheck::readTable()
{
    rooms.clear();
    passages.clear();
    Map map;
    for (const MAP_CELL* cell : map.cells) {
        WORLD_ROOM room;
        room.stem = stemOf(cell->name);
        room.column = cell->x / Map::square + 1;
        room.row = cell->y / Map::square;
        room.columns = (cell->w + 2) / Map::square;
        room.rows = (cell->h + 2) / Map::square;
        rooms.push_back(room);
    }
    std::vector<std::pair<PASSAGE_END, PASSAGE_END>> open;
    for (const MAP_LINK* link : map.links) {
        PASSAGE_END a = endAt(*this, link->cellA, link->x1, link->y1, link->x2, link->y2);
        PASSAGE_END b = endAt(*this, link->cellB, link->x2, link->y2, link->x1, link->y1);
        if (isEmptyEnd(a) || isEmptyEnd(b))
            open.push_back({a, b});
        else
            passages.push_back({a, b});
    }
    joinThroughEmptySquares(open);
}

// Two passages ending in the same square without a room are one way from
// the one room to the other; their doors face the empty square.
void WorldCheck::joinThroughEmptySquares(const std::vector<std::pair<PASSAGE_END, PASSAGE_END>>& open)
{
    std::map<std::pair<int, int>, std::vector<PASSAGE_END>> bySquare;
    for (const auto& passage : open) {
        const PASSAGE_END& empty = isEmptyEnd(passage.first) ? passage.first : passage.second;
        const PASSAGE_END& room = isEmptyEnd(passage.first) ? passage.second : passage.first;
        if (!isEmptyEnd(room))
            bySquare[{empty.column, empty.row}].push_back(room);
    }
    for (const auto& square : bySquare) {
        if (square.second.size() == 2) {
            passages.push_back({square.second[0], square.second[1]});
            continue;
        }
        for (const PASSAGE_END& end : square.second)
            report(rooms[end.room].stem, "the passage to the empty square " + label(square.first.first, square.first.second) +
                                             " leads to no other room");
    }
}

void WorldCheck::readRoom(WORLD_ROOM* room, const char* gameDir, TileList* tiles)
{
    std::string path = std::string(gameDir) + "/Level/" + room->stem + levelSuffix;
    std::FILE* f = std::fopen(path.c_str(), "r");
    if (!f)
        return;
    std::fclose(f);
    Level level;
    room->loaded = level.load(path.c_str(), tiles, nullptr, nullptr) == 1;
    if (!room->loaded)
        return;
    room->fingerprint = fingerprintOf(path, level);
    room->switches = !level.boxes.empty();
    room->music = level.musicTrack;
    // Without the room's picture, the extent of its elements: the map
    // keeps a pixel of margin on every side.
    room->width = level.mapWidth - 2;
    room->height = level.mapHeight - 2;
    std::string picture = "room_" + room->stem + ".til";
    for (const Element* e : level.elements) {
        room->names.insert(e->name);
        if (e->tile && picture == e->tile->name) {
            room->width = e->tile->width;
            room->height = e->tile->height;
        }
        KIND_LINE k = readKindLine(e->text);
        if ((k.kind != KindDoor && k.kind != KindLockedKeyDoor) || !k.complete())
            continue;
        WORLD_DOOR door;
        door.name = e->name;
        door.destination = stemOf(k.arguments[0].word);
        door.target = k.arguments[1].word;
        door.x = e->x;
        door.y = e->y;
        e->getDimensions(&door.width, &door.height);
        door.keys = k.kind == KindLockedKeyDoor ? k.arguments[2].number : 0;
        room->doors.push_back(door);
    }
    for (const Element* b : level.bonus) {
        BONUS_LINE line = readBonusLine(b->text);
        int scene = 0;
        if (b->kind == Element::BonusMovie && line.number(&scene))
            room->scenes.insert(scene);
        if (std::strncmp(b->name, "key", 3) == 0 && line.word == BonusWordOneTime)
            room->keys++;
    }
}

void WorldCheck::checkRoom(const WORLD_ROOM& room)
{
    if (!room.loaded) {
        report(room.stem, std::string("Level/") + room.stem + levelSuffix + " is missing or does not load");
        return;
    }
    int width = room.columns * squareColumns, height = room.rows * squareRows;
    if (room.width != width * cell || room.height != height * cell)
        report(room.stem, "grid of " + std::to_string(room.width / cell) + " x " + std::to_string(room.height / cell) +
                              " cells, the map's " + std::to_string(room.columns) + " x " +
                              std::to_string(room.rows) + " squares need " + std::to_string(width) + " x " +
                              std::to_string(height));
    // A room without a track of its own is silent after Continue or a death
    // there; the game-over track is the death's, played once.
    if (room.music < 0)
        report(room.stem, "no MUSIC line: Continue or a death here starts no music");
    else if (room.music == gameOverTrack)
        report(room.stem, "MUSIC 3 is the game-over track, not a room's");
}

const WORLD_DOOR* WorldCheck::doorTowards(const WORLD_ROOM& room, const std::string& destination) const
{
    for (const WORLD_DOOR& door : room.doors)
        if (door.destination == destination)
            return &door;
    return nullptr;
}

void WorldCheck::checkPassage(const PASSAGE_END& a, const PASSAGE_END& b)
{
    const WORLD_ROOM& roomA = rooms[a.room];
    const WORLD_ROOM& roomB = rooms[b.room];
    if (!roomA.loaded || !roomB.loaded)
        return;
    const WORLD_DOOR* doorA = doorTowards(roomA, roomB.stem);
    const WORLD_DOOR* doorB = doorTowards(roomB, roomA.stem);
    for (const auto& side : {std::make_pair(&roomA, doorA), std::make_pair(&roomB, doorB)}) {
        const WORLD_ROOM& other = side.first == &roomA ? roomB : roomA;
        if (!side.second)
            report(side.first->stem, "no door to " + other.stem + " for the passage " +
                                         label(a.column, a.row) + "-" + label(b.column, b.row));
    }
    if (!doorA || !doorB)
        return;
    if (doorA->target != doorB->name)
        report(roomA.stem, "door " + doorA->name + " targets " + roomB.stem + " " + doorA->target + ", not its door " +
                               doorB->name + " back");
    if (doorB->target != doorA->name)
        report(roomB.stem, "door " + doorB->name + " targets " + roomA.stem + " " + doorB->target + ", not its door " +
                               doorA->name + " back");
    checkDoorSide(roomA, *doorA, a);
    checkDoorSide(roomB, *doorB, b);
}

void WorldCheck::checkDoorSide(const WORLD_ROOM& room, const WORLD_DOOR& door, const PASSAGE_END& end)
{
    const int squareWidth = squareColumns * cell, squareHeight = squareRows * cell;
    int left = (end.column - room.column) * squareWidth, top = (end.row - room.row) * squareHeight;
    int cx = door.x + door.width / 2, cy = door.y + door.height / 2;
    int dc = sign(end.towardsColumn - end.column), dr = sign(end.towardsRow - end.row);
    bool inSquare = cx >= left && cx < left + squareWidth && cy >= top && cy < top + squareHeight;
    // The door's body reaches into the band along its side: a door standing
    // on a floor near the bottom has its feet there, not its middle.
    int right = door.x + door.width, bottom = door.y + door.height;
    bool onSide = (dc > 0 && right > left + squareWidth - sideColumns * cell) || (dc < 0 && door.x < left + sideColumns * cell) ||
                  (dr > 0 && bottom > top + squareHeight - sideRows * cell) || (dr < 0 && door.y < top + sideRows * cell);
    if (inSquare && onSide)
        return;
    bool across = dc != 0;
    report(room.stem, "door " + door.name + " at (" + std::to_string(door.x) + ", " + std::to_string(door.y) +
                          ") is not within the outer " + std::to_string(across ? sideColumns : sideRows) +
                          (across ? " columns" : " rows") + " of the " + sideName(end) + " side of square " +
                          label(end.column, end.row));
}

// Doors between rooms of the table that no passage joins; doors into
// scene rooms are free.
void WorldCheck::checkStrayDoors()
{
    std::set<std::pair<int, int>> joined;
    for (const auto& passage : passages) {
        joined.insert({passage.first.room, passage.second.room});
        joined.insert({passage.second.room, passage.first.room});
    }
    for (std::size_t i = 0; i < rooms.size(); i++)
        for (const WORLD_DOOR& door : rooms[i].doors) {
            int to = roomIndex(door.destination);
            if (to >= 0 && !joined.count({int(i), to}))
                report(rooms[i].stem, "door " + door.name + " leads to " + door.destination +
                                          ", which no passage of the map joins to it");
        }
}

std::vector<std::pair<int, const WORLD_DOOR*>> WorldCheck::walkWith(int keys) const
{
    std::vector<std::pair<int, const WORLD_DOOR*>> cameFrom(rooms.size(), {-1, nullptr});
    std::vector<bool> reached(rooms.size(), false);
    int start = roomIndex(startRoom);
    if (start < 0 || !rooms[start].loaded)
        return cameFrom;
    std::vector<int> todo{start};
    reached[start] = true;
    // Breadth first, so that each path is one of the shortest.
    for (std::size_t next = 0; next < todo.size(); next++) {
        const WORLD_ROOM& room = rooms[todo[next]];
        for (const WORLD_DOOR& door : room.doors) {
            int to = roomIndex(door.destination);
            if (to < 0 || reached[to] || door.keys > keys || !rooms[to].loaded || !rooms[to].names.count(door.target))
                continue;
            reached[to] = true;
            cameFrom[to] = {todo[next], &door};
            todo.push_back(to);
        }
    }
    return cameFrom;
}

std::vector<bool> WorldCheck::reachedWith(int keys) const
{
    std::vector<std::pair<int, const WORLD_DOOR*>> cameFrom = walkWith(keys);
    std::vector<bool> reached(rooms.size(), false);
    for (std::size_t i = 0; i < rooms.size(); i++)
        reached[i] = cameFrom[i].first >= 0 || (rooms[i].stem == startRoom && rooms[i].loaded);
    return reached;
}

std::vector<int> WorldCheck::keyRounds() const
{
    // Keys found open the doors they suffice for, which may lead to more keys.
    std::vector<int> rounds{0};
    for (;;) {
        std::vector<bool> reached = reachedWith(rounds.back());
        int found = 0;
        for (std::size_t i = 0; i < rooms.size(); i++)
            if (reached[i])
                found += rooms[i].keys;
        if (found == rounds.back())
            return rounds;
        rounds.push_back(found);
    }
}

std::set<STORY_WAY> WorldCheck::storyWays() const
{
    std::set<STORY_WAY> ways;
    std::vector<bool> done(rooms.size(), false);
    for (int keys : keyRounds()) {
        std::vector<std::pair<int, const WORLD_DOOR*>> cameFrom = walkWith(keys);
        // Each room reached first in this round, with the door to go on through
        // when the goal is a locked door in it.
        std::vector<std::pair<int, const WORLD_DOOR*>> goals;
        for (std::size_t i = 0; i < rooms.size(); i++) {
            if (done[i] || (cameFrom[i].first < 0 && rooms[i].stem != startRoom))
                continue;
            done[i] = true;
            const WORLD_ROOM& room = rooms[i];
            bool ending = room.scenes.count(endingScenes[0]) || room.scenes.count(endingScenes[1]);
            if (room.keys > 0 || ending)
                goals.push_back({int(i), nullptr});
            for (const WORLD_DOOR& door : room.doors)
                if (door.keys > 0)
                    goals.push_back({int(i), &door});
        }
        for (const auto& goal : goals) {
            const WORLD_DOOR* leaving = goal.second;
            for (int room = goal.first; cameFrom[room].first >= 0; room = cameFrom[room].first) {
                const WORLD_DOOR* entering = cameFrom[room].second;
                if (leaving)
                    ways.insert({room, entering->target, leaving->name});
                leaving = entering;
            }
        }
    }
    return ways;
}

void WorldCheck::checkReach()
{
    int keys = keyRounds().back();
    std::vector<bool> reached = reachedWith(keys);
    for (std::size_t i = 0; i < rooms.size(); i++) {
        if (!reached[i]) {
            if (rooms[i].loaded)
                report(rooms[i].stem, std::string("cannot be reached from ") + startRoom + " through doors");
            continue;
        }
        for (const WORLD_DOOR& door : rooms[i].doors)
            if (door.keys > keys)
                report(rooms[i].stem, "locked door " + door.name + " needs " + std::to_string(door.keys) +
                                          " keys, but only " + std::to_string(keys) +
                                          " can be found without passing through it");
    }
    for (int scene : endingScenes) {
        bool exists = false, reachable = false;
        for (std::size_t i = 0; i < rooms.size(); i++)
            if (rooms[i].scenes.count(scene)) {
                exists = true;
                reachable = reachable || reached[i];
            }
        if (!exists)
            report(startRoom, "no room holds the ending trigger \"bonus movie " + std::to_string(scene) + "\"");
        else if (!reachable)
            for (const WORLD_ROOM& room : rooms)
                if (room.scenes.count(scene))
                    report(room.stem, "its ending trigger \"bonus movie " + std::to_string(scene) +
                                          "\" cannot be reached");
    }
}

void WorldCheck::report(const std::string& room, const std::string& problem)
{
    problems.push_back(room + ": " + problem);
}
