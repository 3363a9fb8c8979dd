#include "authoring/RoomReach.h"

#include "authoring/DoorDistance.h"

#include "assets/AnimationControler.h"
#include "level/Element.h"
#include "level/Level.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <memory>
#include <queue>
#include <unordered_set>

namespace {

// The commands tried in every frame: standing, walking and running either
// way, jumps, climbing, crawling.
const uint8_t choices[] = {
    0,
    RoomReach::Left,
    RoomReach::Right,
    RoomReach::Jump,
    RoomReach::Left | RoomReach::Jump,
    RoomReach::Right | RoomReach::Jump,
    RoomReach::Walk | RoomReach::Left,
    RoomReach::Walk | RoomReach::Right,
    RoomReach::Walk | RoomReach::Left | RoomReach::Jump,
    RoomReach::Walk | RoomReach::Right | RoomReach::Jump,
    RoomReach::Up,
    RoomReach::Up | RoomReach::Left,
    RoomReach::Up | RoomReach::Right,
    RoomReach::Down,
    RoomReach::Down | RoomReach::Left,
    RoomReach::Down | RoomReach::Right,
};

// The default key of each command, by bit, as the replay names keys.
const struct {
    uint8_t bit;
    const char* key;
} commandKeys[] = {{RoomReach::Left, "left"}, {RoomReach::Right, "right"}, {RoomReach::Jump, "space"},
                   {RoomReach::Up, "up"},     {RoomReach::Down, "down"},   {RoomReach::Walk, "a"},
                   {RoomReach::Action, "e"}};

// Replays are tried for this many ways found before the search gives up.
const int mostReplays = 16;

PLAYER_COMMANDS commandsOf(uint8_t bits)
{
    PLAYER_COMMANDS held;
    held.left = bits & RoomReach::Left;
    held.right = bits & RoomReach::Right;
    held.jump = bits & RoomReach::Jump;
    held.up = bits & RoomReach::Up;
    held.down = bits & RoomReach::Down;
    held.walk = bits & RoomReach::Walk;
    return held;
}

// The state two frames are merged on: position, vertical speed (a multiple
// of a quarter pixel), pose flags and the animation's sequence and position
// (speeds are multiples of a twentieth of a frame); and, while the room
// changes by itself, the frame, as the room differs from frame to frame.
struct STATE_KEY {
    uint64_t body;
    uint64_t animation;
    int frame;
    bool operator==(const STATE_KEY& o) const { return body == o.body && animation == o.animation && frame == o.frame; }
};

struct STATE_HASH {
    std::size_t operator()(const STATE_KEY& k) const
    {
        return std::hash<uint64_t>()((k.body * 0x9E3779B97F4A7C15ull ^ k.animation) + uint64_t(k.frame));
    }
};

// The frame of a state key where the room stands still.
const int anyFrame = -1;

STATE_KEY keyOf(const Player& p, int frame, uint64_t things)
{
    const PLAYER_STATE& s = p.state;
    uint64_t flags = uint64_t(s.way != 0) | uint64_t(s.crawl) << 1 | uint64_t(s.jumping) << 2 |
                     uint64_t(s.jumpReleased) << 3 | uint64_t(s.onLadder) << 4 | uint64_t(p.pushTimer != 0) << 5 |
                     uint64_t(p.flying) << 6;
    uint64_t body = uint64_t(uint16_t(s.x)) | uint64_t(uint16_t(s.y)) << 16 |
                    uint64_t(uint8_t(int(s.dy * 4.0f))) << 32 | flags << 40 | uint64_t(uint8_t(p.pushTimer)) << 48;
    const AnimationControler& c = *p.controler;
    uint64_t animation = uint64_t(uint32_t(c.seq)) | uint64_t(uint32_t(int(c.frame * 20.0f))) << 32;
    return STATE_KEY{body ^ things, animation ^ uint64_t(c.moved != 0) << 63, frame};
}

// Runs one frame of the game for the player: the held commands, the room
// (`tick` being the game's frame count), then the player, as the world does.
void playFrame(Player* p, Level* level, uint8_t commands, int tick)
{
    holdCommands(p, level, commandsOf(commands));
    level->update(tick);
    p->update(level, tick);
}

const Element* elementNamed(const Level* level, const char* name)
{
    for (const Element* e : level->elements)
        if (std::strcmp(e->name, name) == 0)
            return e;
    return nullptr;
}

// The door the action key would take now, as the player's action chooses
// it: the first touched door that opens with the keys held.
const DOOR* doorInReach(Player* p, Level* level)
{
    p->setBBox();
    for (const DOOR* door : level->doors)
        if (p->bbox.getCollisionWithDoor(door) && (door->locked == 0 || door->key <= p->nKey))
            return door;
    return nullptr;
}

// The door compiled from the element called `name`, or given to it.
const DOOR* doorNamed(const Level* level, const char* name)
{
    const Element* e = elementNamed(level, name);
    for (const DOOR* door : level->doors)
        if (!door->destination[0] && std::strcmp(door->target, name) == 0)
            return door;
    if (!e)
        return nullptr;
    for (const DOOR* door : level->doors)
        if (door->x == e->x && door->y == e->y)
            return door;
    return nullptr;
}

// Gives the element called `name` a door of its own rectangle, unless a
// door stands there already, so that the search can aim at it as at a door.
void addDoorOver(Level* level, const char* name)
{
    const Element* e = nullptr;
    for (const std::vector<Element*>* list : {&level->elements, &level->bonus, &level->actives, &level->specials})
        for (const Element* candidate : *list)
            if (!e && std::strcmp(candidate->name, name) == 0)
                e = candidate;
    if (!e || doorNamed(level, name))
        return;
    DOOR* d = new DOOR();
    d->x = e->x;
    d->y = e->y;
    e->getDimensions(&d->width, &d->height);
    d->tile = e->tile;
    // No room behind it: the search knows it by the element's name.
    std::snprintf(d->target, sizeof d->target, "%s", name);
    level->doors.push_back(d);
}

// Whether the room changes with time by itself: movers, dogs and gas for
// ever, water until it has filled or emptied. Pushed blocks and unstable
// floors change only when the player comes; animated enemies are searched
// by their pictures (EnemyPictures).
bool movesForEver(const Level* level)
{
    if (!level->dogs.empty() || level->hasCloud)
        return true;
    for (const Element* e : level->actives)
        if (e->kind == Element::Mover)
            return true;
    return false;
}

// Pixels between the player's body and the door's rectangle, on the longer
// axis; 0 when they overlap.
long distance(const BoundingBox& b, const DOOR& door)
{
    long dx = std::max({0, door.x - (b.x + b.w), b.x - (door.x + door.width)});
    long dy = std::max({0, door.y - (b.y + b.h), b.y - (door.y + door.height)});
    return std::max(dx, dy);
}

// How far the player is from the door along the room's open space; a place
// the open space does not join to the door comes after every joined one.
long nearness(Player& p, const DOOR& door, const DoorDistance& guide)
{
    p.setBBox();
    long along = guide.to(p.bbox);
    const long cutOff = 1L << 20;
    return along != DoorDistance::unknown ? along : cutOff + distance(p.bbox, door);
}

// What of a movable thing (a crate, an unstable floor) one frame hands to
// the next: in a still room each state carries its own, as the player
// pushes and shakes them in one branch of the search and not in another.
struct THING {
    int x, y, countdown;
    float vx, vy;
    bool active;
};

std::vector<THING> thingsOf(const Level* level)
{
    std::vector<THING> things;
    for (const Element* e : level->actives)
        things.push_back({e->x, e->y, e->countdown, e->vx, e->vy, e->active});
    return things;
}

void restoreThings(Level* level, const std::vector<THING>& things)
{
    if (things.size() != level->actives.size())
        return;
    for (std::size_t i = 0; i < things.size(); i++) {
        Element* e = level->actives[i];
        const THING& t = things[i];
        e->x = t.x;
        e->y = t.y;
        e->countdown = t.countdown;
        e->vx = t.vx;
        e->vy = t.vy;
        e->active = t.active;
    }
}

// The places and countdowns of the things, for merging states.
uint64_t thingsKey(const std::vector<THING>& things)
{
    uint64_t key = 0;
    for (const THING& t : things)
        key = (key ^ (uint64_t(uint32_t(t.x)) | uint64_t(uint32_t(t.y)) << 32)) * 0x100000001B3ull + uint64_t(t.countdown);
    return key;
}

// The picture each animated enemy shows in each frame from the search's
// start: an enemy hurts where its picture is drawn, and its animation runs
// with time whatever the player does. A room otherwise still is searched
// without updating it, so each state shows the enemies its own frame shows.
class EnemyPictures {
public:
    EnemyPictures(Level* level, int frames)
    {
        for (Element* e : level->ennemies) {
            if (!e->tile || e->tile->frameCount < 2 || e->speed == 0)
                continue;
            Element shown = *e;
            std::vector<float> pictures;
            for (int frame = 0; frame <= frames; frame++) {
                pictures.push_back(shown.frame);
                shown.update();
            }
            animated.push_back({e, std::move(pictures)});
        }
    }
    // Shows the enemies as they are `frame` frames after the start.
    void show(int frame) const
    {
        for (const ANIMATED& a : animated)
            a.enemy->frame = a.pictures[std::min<std::size_t>(std::size_t(frame), a.pictures.size() - 1)];
    }

private:
    struct ANIMATED {
        Element* enemy;
        std::vector<float> pictures;
    };
    std::vector<ANIMATED> animated;
};

// A state kept by the search, with the one before it, the commands that
// led there and its nearness to the door.
struct SEARCH_NODE {
    RoomReach::BODY body;
    int before;
    int frame;
    uint8_t commands;
    long near;
    std::vector<THING> things;
};

// A state waiting to be searched: the lowest priority first, of equal ones
// the nearest to the door, so that a climb or a run that keeps its pace
// goes on before the states beside it are tried.
struct OPEN_STATE {
    long priority;
    long near;
    int index;
    bool operator>(const OPEN_STATE& o) const
    {
        return priority != o.priority ? priority > o.priority : near != o.near ? near > o.near : index > o.index;
    }
};
using OPEN_QUEUE = std::priority_queue<OPEN_STATE, std::vector<OPEN_STATE>, std::greater<OPEN_STATE>>;

// A room that changes by itself is searched frame by frame: every state of
// a frame comes before those of the next. A still room is searched
// towards the door: a pixel nearer is worth more than the frame spent
// coming, even climbing, the slowest way (a pixel a frame).
long priorityOf(const SEARCH_NODE& node, bool timed)
{
    const long frameWeight = 1L << 24;
    const long pixelWeight = 2;
    return timed ? node.frame * frameWeight + node.near : node.frame + pixelWeight * node.near;
}

OPEN_QUEUE reordered(OPEN_QUEUE open, const std::vector<SEARCH_NODE>& kept, bool timed)
{
    OPEN_QUEUE again;
    for (; !open.empty(); open.pop()) {
        const SEARCH_NODE& node = kept[open.top().index];
        again.push({priorityOf(node, timed), node.near, open.top().index});
    }
    return again;
}

// The commands of every frame from the start to the state `last`.
std::vector<uint8_t> commandsTo(const std::vector<SEARCH_NODE>& kept, int last)
{
    std::vector<uint8_t> way;
    for (int k = last; kept[k].before >= 0; k = kept[k].before)
        way.push_back(kept[k].commands);
    std::reverse(way.begin(), way.end());
    return way;
}

} // namespace

RoomReach::BODY RoomReach::bodyOf(const Player& p)
{
    const PLAYER_STATE& s = p.state;
    return BODY{s.x,        s.y,       s.oldX,   s.oldY, s.way,    p.pushTimer, s.life,
                p.nKey,     s.torch,   s.moving, s.run,  s.crawl,  s.jumping,   s.jumpReleased,
                s.onLadder, s.visible, p.flying, s.dy,   s.hitted, p.bbox,      *p.controler};
}

void RoomReach::restore(Player* p, const BODY& b)
{
    PLAYER_STATE& s = p->state;
    s.x = b.x;
    s.y = b.y;
    s.oldX = b.oldX;
    s.oldY = b.oldY;
    s.way = b.way;
    p->pushTimer = b.pushTimer;
    s.life = b.life;
    p->nKey = b.nKey;
    s.torch = b.torch;
    s.moving = b.moving;
    s.run = b.run;
    s.crawl = b.crawl;
    s.jumping = b.jumping;
    s.jumpReleased = b.jumpReleased;
    s.onLadder = b.onLadder;
    s.visible = b.visible;
    p->flying = b.flying;
    s.dy = b.dy;
    s.hitted = b.hitted;
    p->bbox = b.bbox;
    *p->controler = b.animation;
}

int RoomReach::load(const char* dir, const char* file)
{
    gameDir = dir;
    levelFile = file;
    if (room.load(dir, file)) {
        initialBody = bodyOf(room.player);
        return 1;
    }
    std::snprintf(error, sizeof error, "cannot load %s/Level/%s with the player's content", dir, file);
    return 0;
}

Level* RoomReach::freshLevel()
{
    Level* level = new Level;
    std::string path = gameDir + "/Level/" + levelFile;
    if (level->load(path.c_str(), room.tiles, nullptr, nullptr)) {
        addDoorOver(level, touchTarget.c_str());
        return level;
    }
    delete level;
    std::snprintf(error, sizeof error, "cannot load %s", path.c_str());
    return nullptr;
}

void RoomReach::enter(Level* level, const char* from)
{
    bool inPose = carried && std::strcmp(from, here) == 0;
    BODY start = inPose ? carriedBody : initialBody;
    start.animation.anim = initialBody.animation.anim;
    restore(&room.player, start);
    if (inPose) {
        for (int update = roomUpdates - 1; update >= 0; update--)
            level->update(tick - update);
    } else {
        room.player.nKey = keys;
        if (std::strcmp(from, here) == 0)
            room.place(hereX, hereY);
        else
            room.player.setPositionAtElement(from, level);
    }
    for (std::size_t frame = 0; frame < lead.size(); frame++) {
        if (lead[frame] & Action)
            room.player.action(level, false);
        playFrame(&room.player, level, lead[frame] & ~Action, firstTick() + int(frame));
    }
}

int RoomReach::firstTick() const
{
    return carried ? tick + 1 : 1;
}

int RoomReach::searchTick() const
{
    return firstTick() + int(lead.size());
}

std::string RoomReach::poseText(const BODY& b, int tick, int roomUpdates)
{
    char text[512];
    std::snprintf(text, sizeof text, "%d %d %d %d %d %d %d %d %d%d%d%d%d%d%d%d%d %.9g %.9g %d %d %d %d %d %.9g %.9g %d %d %d",
                  b.x, b.y, b.oldX, b.oldY, b.way, b.pushTimer, b.life, b.nKey, b.torch, b.moving, b.run, b.crawl,
                  b.jumping, b.jumpReleased, b.onLadder, b.visible, b.flying, double(b.dy), double(b.hitted), b.bbox.x,
                  b.bbox.y, b.bbox.w, b.bbox.h, b.animation.seq, double(b.animation.frame),
                  double(b.animation.speed), b.animation.moved, tick % 2, roomUpdates);
    return text;
}

int RoomReach::fromTrace(const std::vector<std::string>& row, BODY* b, int* tick, int* roomUpdates)
{
    // The columns of the program's trace line; a line of another length is
    // of an older layout.
    enum { X = 2, Y, Way = 5, Life, Keys = 9, Jumping, OnLadder, Crawl, Visible, OldX = 21, OldY, PushTimer, Torch,
           Moving, Run, JumpReleased, Flying, Dy, Hitted, BoxX, BoxY, BoxW, BoxH, Seq, Frame, Speed, Moved, Tick,
           Updates, Music, Count };
    if (row.size() != Count)
        return 0;
    bool numbers = true;
    auto whole = [&](int column) {
        char* end = nullptr;
        long value = std::strtol(row[column].c_str(), &end, 10);
        numbers = numbers && *end == '\0' && end != row[column].c_str();
        return int(value);
    };
    auto real = [&](int column) {
        char* end = nullptr;
        float value = std::strtof(row[column].c_str(), &end);
        numbers = numbers && *end == '\0' && end != row[column].c_str();
        return value;
    };
    b->x = whole(X);
    b->y = whole(Y);
    b->oldX = whole(OldX);
    b->oldY = whole(OldY);
    b->way = whole(Way);
    b->pushTimer = whole(PushTimer);
    b->life = whole(Life);
    b->nKey = whole(Keys);
    b->torch = whole(Torch);
    b->moving = whole(Moving);
    b->run = whole(Run);
    b->crawl = whole(Crawl);
    b->jumping = whole(Jumping);
    b->jumpReleased = whole(JumpReleased);
    b->onLadder = whole(OnLadder);
    b->visible = whole(Visible);
    b->flying = whole(Flying);
    b->dy = real(Dy);
    b->hitted = real(Hitted);
    b->bbox.x = whole(BoxX);
    b->bbox.y = whole(BoxY);
    b->bbox.w = whole(BoxW);
    b->bbox.h = whole(BoxH);
    b->animation.seq = whole(Seq);
    b->animation.frame = real(Frame);
    b->animation.speed = real(Speed);
    b->animation.moved = whole(Moved);
    *tick = whole(Tick);
    *roomUpdates = whole(Updates);
    return numbers;
}

int RoomReach::searchTo(const char* from, const char* element)
{
    touchTarget = element;
    int found = search(from, element);
    touchTarget.clear();
    return found;
}

int RoomReach::search(const char* from, const char* to)
{
    script.clear();
    return explore(from, to, nullptr);
}

int RoomReach::flood(const char* from, const std::function<void(const BoundingBox&)>& visit)
{
    return explore(from, nullptr, &visit);
}

int RoomReach::explore(const char* from, const char* to, const std::function<void(const BoundingBox&)>* visit)
{
    nodes = 0;
    frames = 0;
    if (!room.level)
        return -1;
    delete room.level;
    room.level = freshLevel();
    Level* level = room.level;
    if (!level || (!elementNamed(level, from) && std::strcmp(from, here) != 0) || (to && !doorNamed(level, to))) {
        std::snprintf(error, sizeof error, "%s has no element %s%s%s", levelFile.c_str(), from, to ? " or no door " : "",
                      to ? to : "");
        return -1;
    }
    Player& p = room.player;
    enter(level, from);
    startX = p.state.x;
    startY = p.state.y;
    // Without a door to aim at every state is as near as the next.
    const DOOR* target = to ? doorNamed(level, to) : nullptr;
    const int startLife = p.state.life;
    DoorDistance guide;
    if (target)
        guide.measure(*level, *target);
    auto near = [&]() { return target ? nearness(p, *target, guide) : 0L; };
    auto seenBody = [&]() {
        if (!visit)
            return;
        p.setBBox();
        (*visit)(p.bbox);
    };
    seenBody();

    // While the room changes by itself it is updated once a frame, before
    // the commands are held, where the game holds them first (the replay on
    // a fresh room settles it); of each frame only the `beamWidth` states
    // nearest the door go on. Water that has stopped stays: the search goes
    // on as in a still room.
    const bool forEver = movesForEver(level);
    bool timed = forEver || level->water;
    // Movable things move by the room's update, which a still room gets in
    // every state's own frame.
    const bool carriesThings = !forEver && !level->actives.empty();
    const EnemyPictures enemies(level, maxFrames);
    std::vector<SEARCH_NODE> kept{{bodyOf(p), -1, 0, 0, near(), thingsOf(level)}};
    OPEN_QUEUE open;
    open.push({0, kept[0].near, 0});
    std::unordered_set<STATE_KEY, STATE_HASH> seen{
        keyOf(p, timed ? 0 : anyFrame, carriesThings && !timed ? thingsKey(kept[0].things) : 0)};
    int roomFrame = 0, expandedThisFrame = 0, stillFrames = 0;
    int replaysLeft = mostReplays;
    while (!open.empty()) {
        int index = open.top().index;
        open.pop();
        int frame = kept[index].frame;
        if (frame >= maxFrames)
            continue;
        frames = std::max(frames, frame + 1);
        if (timed && frame + 1 > roomFrame) {
            int waterBefore = level->waterLevel;
            level->update(searchTick() + roomFrame++);
            expandedThisFrame = 0;
            // The water moves every other frame: two frames without a change and it has stopped.
            stillFrames = level->waterLevel == waterBefore ? stillFrames + 1 : 0;
            if (!forEver && stillFrames >= 2) {
                timed = false;
                open = reordered(std::move(open), kept, timed);
            }
        }
        if (timed && ++expandedThisFrame > beamWidth)
            continue;
        for (uint8_t commands : choices) {
            if (commands & ~allowed)
                continue;
            restore(&p, kept[index].body);
            bool ownThings = carriesThings && !timed;
            if (ownThings)
                restoreThings(level, kept[index].things);
            if (!timed)
                enemies.show(frame + 1);
            holdCommands(&p, level, commandsOf(commands));
            if (ownThings)
                level->activeUpdate();
            p.update(level, frame);
            std::vector<THING> things = ownThings ? thingsOf(level) : std::vector<THING>();
            STATE_KEY key = keyOf(p, timed ? frame + 1 : anyFrame, thingsKey(things));
            // A flood asks where the body goes, not how its animation runs.
            if (!target)
                key.animation = 0;
            if (p.state.life < startLife || !seen.insert(key).second)
                continue;
            kept.push_back({bodyOf(p), index, frame + 1, commands, near(), std::move(things)});
            seenBody();
            if (++nodes >= maxNodes)
                return 0;
            if (target && doorInReach(&p, level) == target && replaysLeft > 0) {
                std::vector<uint8_t> way = commandsTo(kept, int(kept.size()) - 1);
                replaysLeft--;
                if (replays(from, to, way)) {
                    script = way;
                    return 1;
                }
            }
            open.push({priorityOf(kept.back(), timed), kept.back().near, int(kept.size()) - 1});
        }
    }
    // Without a door, the search has then tried every state.
    return target ? 0 : 1;
}

bool RoomReach::replays(const char* from, const char* to, const std::vector<uint8_t>& commands)
{
    std::unique_ptr<Level> level(freshLevel());
    if (!level)
        return false;
    // The searching player's state is put back afterwards.
    BODY searching = bodyOf(room.player);
    enter(level.get(), from);
    Player& p = room.player;
    const int startLife = p.state.life;
    bool unhurt = true;
    for (std::size_t frame = 0; unhurt && frame < commands.size(); frame++) {
        playFrame(&p, level.get(), commands[frame], searchTick() + int(frame));
        unhurt = p.state.life >= startLife;
    }
    const DOOR* wanted = doorNamed(level.get(), to);
    bool touching = unhurt && wanted && doorInReach(&p, level.get()) == wanted;
    restore(&p, searching);
    return touching;
}

std::string RoomReach::replayText() const
{
    std::vector<uint8_t> taken = script;
    taken.push_back(Action);
    return replayLines(taken, 0);
}

std::string RoomReach::replayLines(const std::vector<uint8_t>& commands, int first)
{
    std::string text;
    uint8_t held = 0;
    auto line = [&text](std::size_t frame, const char* way, const char* key) {
        text += std::to_string(frame) + " " + way + " " + key + "\n";
    };
    for (std::size_t frame = 0; frame <= commands.size(); frame++) {
        uint8_t now = frame < commands.size() ? commands[frame] : 0;
        for (const auto& k : commandKeys) {
            if ((held & k.bit) && !(now & k.bit))
                line(first + frame, "up", k.key);
            if (!(held & k.bit) && (now & k.bit))
                line(first + frame, "down", k.key);
        }
        held = now;
    }
    return text;
}
