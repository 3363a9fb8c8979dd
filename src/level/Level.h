#pragma once

#include "assets/Tile.h"
#include "base/MapLimits.h"
#include "base/Relaxed.h"
#include "level/LightingWorker.h"
#include "platform/KeptArray.h"

#include <atomic>
#include <mutex>
#include <vector>

class Dog;
class ElectricBox;
class Element;
struct KIND_LINE;
class Light;
class Screen;
class Text;
class TileList;
class Typo;

// One cell of the level map: the baked picture, its depth and
// self-illumination, and what the cloud and the player's memory keep per
// pixel. The light a cell receives lives beside the map in two buffers of
// CellLight (the lighting thread fills one while the other is drawn), so
// that a lighting pass streams small records instead of whole cells. The
// fields both threads touch while a room is played (the depth the pass
// restores and the game's collisions read, the charge it sets and the
// drawing shows, the memory strength both write) are relaxed atomics.
struct LevelPixel {
    int colour;
    // Phosphorescent colour (0 none); its alpha holds the charge bits
    // 1 red, 2 green, 4 blue.
    Relaxed<int> glow;
    Relaxed<int> depth;
    // Depth as baked; `depth` is restored from it at every lighting pass.
    int cleanDepth;
    float incandescence;
    int cloud;
    int cloudNext;
    int memoryColour;
    int specialMemoryColour;
    Relaxed<float> quality;
    float tempQuality;
};

// The light one cell received in one lighting pass: shadowed and
// unshadowed light per channel, and whether it is dark (no shadowed light
// and no glow of its own reached it). Eight floats, so that a pass adds a
// light to a cell as two groups of four. A record of zero bytes is dark.
struct CellLight {
    float lit[3];
    float unshadowed[3];
    // 0 while dark, 1 once light arrives.
    float reached;
    float spare;
    bool dark() const { return reached == 0.0f; }
};

// A door of the room and where it leads.
struct DOOR {
    int x;
    int y;
    int width;
    int height;
    char destination[128];
    char target[128];
    // 0 a plain door, 1 a door that needs `key` keys.
    int locked;
    int key;
    Tile* tile;
};

// One room: its placed objects, lights, doors, logic boxes and dogs, and the
// level map baked from the static picture. Lists keep the order of the level
// file; the owned ones are deleted with the level.
class Level {
public:
    // Most cloud spreading steps run in one update.
    static constexpr int maxCloudSteps = 32;

    Level();
    ~Level();
    Level(const Level&) = delete;
    Level& operator=(const Level&) = delete;

    void deleteIntro();
    const char* getName() const { return name; }
    bool getMemories() const { return memories; }
    bool getCloud() const { return hasCloud; }
    Typo* getTypo() const;

    // Bakes the single-frame elements into a new level map and turns doors,
    // lights and cloud sources of the kind lines into their objects.
    // Returns 0, leaving the level without a map, when it has no
    // single-frame element to take its bounds from or its map would be too
    // large; such a level must not be run. `mapProblem` then says why, naming
    // the element that stretched an oversized map.
    int compile();
    char mapProblem[256] = "";
    // Darkens the picture in streaks below ledges.
    void addDirt();
    // Darkens every pixel by a small random amount.
    void addNoise();
    // Turns e into one of seven bonuses at random; a picture missing from
    // the library leaves it without a tile.
    void createRandomBonus(Element* e, TileList* tiles);
    // Looks the room's pictures up in `tiles` as this room's: the library
    // keeps their pixels in memory until the room is deleted.
    TileList* useTiles(TileList* tiles);

    // Cell queries by world position; baseDepth outside the map.
    int getDepth(int wx, int wy) const;
    int getDepthClean(int wx, int wy) const;
    int getCloud(int wx, int wy) const;
    // Direction from (x0, y0) to (x1, y1) in degrees, 0 right, 90 down.
    static float getAngle(int x0, int y0, int x1, int y1);

    // One update of the cloud: cloudSteps spreading steps.
    void computeCloud();
    // One update of the water surface; tick is the world's frame counter.
    void computeFill(int tick);

    // The map cell at world position (wx, wy), or null outside the map.
    LevelPixel* cellAt(int wx, int wy) const;

    char name[256] = "";
    int baseDepth = 10;
    int baseColor = int(0xFF000000u);
    bool memories = false;
    bool hasCloud = false;
    int cloudSteps = 1;
    bool water = false;
    // 0 filling water, 1 rising, 2 sinking (switched water).
    int waterMode = 0;
    // Map row of the water surface; rows at and below it are under water.
    int waterLevel = 0;
    int waterLimit = 0;
    int waterTop = 0;
    int waterFrame = 0;
    // Updates since the room was loaded: how far its movers, water and gas
    // have gone, for a tool that must set up the same room.
    int updates = 0;
    Tile waterTile;
    bool dirt = false;
    bool noise = false;
    bool special = false;
    bool reveal = false;
    bool checkpoint = false;
    // The track its MUSIC line starts, or -1 without one.
    int musicTrack = -1;
    Text* message = nullptr;

    std::vector<Element*> elements;     // owned
    std::vector<Element*> entities;     // animated elements of `elements`
    std::vector<Light*> lights;         // owned, except external lights
    std::vector<DOOR*> doors;           // owned
    std::vector<Element*> bonus;        // owned
    std::vector<Element*> ennemies;     // also in `elements` or `actives`
    std::vector<ElectricBox*> boxes;    // owned
    std::vector<Element*> actives;      // owned
    std::vector<Element*> backgrounds;  // owned
    std::vector<Dog*> dogs;             // owned
    std::vector<Element*> specials;     // owned
    std::vector<Element*> ladders;      // ladders of `elements`

    // Index in `actives` of the thrown object still flying, or -1.
    int thrown = -1;
    int mapWidth = 0;
    int mapHeight = 0;
    int originX = 0;
    int originY = 0;
    // The light buffer that is complete and may be drawn, and the flag the
    // main thread holds while it draws: both are shared with the lighting
    // thread, so every read sees the latest write.
    std::atomic<int> front{0};
    std::atomic<bool> drawing{false};
    // mapWidth x mapHeight cells, column-major; null until compiled.
    LevelPixel* map = nullptr;
    // Replaces the map by width x height cells of unspecified value (compile
    // writes each of them), dark in both light buffers. Returns 0, leaving
    // no map, when memory is short.
    int allocateMap(int width, int height);
    // The two light buffers, each mapWidth x mapHeight records laid out as
    // the map; null until compiled.
    CellLight* light[2] = {nullptr, nullptr};
    // The light record of map cell `cell` in buffer b.
    CellLight& lightOf(int b, int cell) const { return light[b][cell]; }

    // Drawing the room for a camera offset (ox, oy).
    // The baked picture lit by the published light buffer, then the
    // player's memory of dark cells and the glow of charged paint; px and py
    // are not used.
    void draw(Screen* s, int ox, int oy, int px, int py);
    // Animated elements, bonuses (not cutscene triggers) and dogs.
    void drawEntity(Screen* s, int ox, int oy);
    // The self-lit pixels of dogs, animated elements and lamps lying in the
    // room, over the lit picture.
    void drawIcds(Screen* s, int ox, int oy);
    // The self-lit pixels of levers and light switches once more, over the
    // player standing at one: the lamp telling its state stays in sight.
    void drawLeverLamps(Screen* s, int ox, int oy);
    // Movable objects, then animated water and toxic matter, translucent.
    void drawFront(Screen* s, int ox, int oy);
    // The green tint of lit cloud and the lit part of the water.
    void drawCloudAndWater(Screen* s, int ox, int oy);
    // Rock (depth baseDepth or more) and everything off the map in baseColor.
    void drawBlack(Screen* s, int ox, int oy);
    // The room's message box, when it has one.
    void drawIntro(Screen* s);
    // Remembers the cells within r of world position (wx, wy), in a level
    // that keeps memories.
    void addZoneInMemory(int wx, int wy, int r);

    // Reading level files.
    // What the reader met in a file that its author should hear about. The
    // game ignores these notes; the level checker reports them.
    enum ReadProblem {
        NoteCannotOpen,      // the file could not be opened
        NoteMissingTile,     // a tile the library lacks; its element was dropped
        NoteIgnoredLine,     // a line whose first word is no keyword, or an INFO word no one reads
        NoteBadNumber,       // a number that did not parse; its field kept its value
        NoteLongLine,        // a line over 255 characters, read in pieces
        NoteCutText,         // a name or word too long for its field, cut
        NoteUnfinishedBlock, // the file ended inside a block; the block was dropped
        NoteNoMap,           // compile found nothing to build the level map from
        NoteOnlyFrame        // a one-frame element given another frame; its only frame is used
    };
    struct READ_NOTE {
        int problem;
        // Line number in `file` (from 1); 0 for the file as a whole.
        int line;
        char file[256];
        char text[256];
    };
    // Reads the level file at `path`, creates the message box on `font` and
    // `screen`, then compiles the level. Returns 1, or 0 when the file
    // cannot be opened or the level has no map; such a level must not be run.
    int load(const char* path, TileList* tiles, Typo* font, Screen* screen);
    // Reads the ELEMENT blocks of a special file into `specials`. Returns 1,
    // or 0 when the file cannot be opened.
    int loadSpecial(const char* path, TileList* tiles);
    std::vector<READ_NOTE> readNotes;

    // Lighting: the passes of the lighting thread and the light list.
    // One pass over the view (x, y the camera offset, w x h the screen) plus
    // `margin` pixels on every side: updates the lights, spreads the memory,
    // fills the light buffer that is not shown and publishes it in `front`.
    // The pass works in `scratch`; without it, in memory of its own.
    void computeLighting(int x, int y, int w, int h, int margin, LIGHTING_SCRATCH& scratch);
    void computeLighting(int x, int y, int w, int h, int margin);
    // Faults in the pages of the light records that the next pass over that
    // view writes, without changing them: a thread waiting for the pass
    // takes that work off the lighting thread.
    void faultInNextRecords(int x, int y, int w, int h, int margin);
    // Occluder depth between cell (mx, my) and a light at world (lx, ly); 10 blocks.
    int lightGetDepth(int mx, int my, int lx, int ly) const;
    // Occluder depth for directional light travelling (dirX, dirY) per step to cell (mx, my).
    int lightGetDirectionalDepth(float mx, float my, float dirX, float dirY) const;
    // The light list is shared with the lighting thread: both go through lightsLock.
    void addLight(Light* l);
    void deleteLight(int i);
    // Copies `from` into `listed`, a light of the list, under lightsLock:
    // the owner of an external light changes its own copy as it likes and
    // hands it over with this, so a pass never sees it half changed.
    void copyLight(Light* listed, const Light& from);
    void setTempQuality(int cell, float q);
    void addInMemory(int cell);
    // Multiplies every pixel of s that shows a map cell by the cell's
    // published light without depth shadows.
    void mulBySimpleLighting(Screen* s, int ox, int oy) const;
    // Adds a white ring growing from (wx, wy) to radius 300 that makes what
    // it passes remembered.
    void showAll(int wx, int wy);
    // Guards `lights` between the main thread and the lighting thread.
    std::mutex lightsLock;

    // Simulation: one step per game update. `tick` is the world's frame
    // counter. Animates backgrounds and entities, moves the actives and the
    // dogs, spreads the cloud, moves the water and runs the message box.
    void update(int tick);
    // Moves the actives: movers towards their goal (through anything),
    // active objects with gravity or buoyancy against rock and each other.
    // The moving-object loop sound plays while a mover moves.
    void activeUpdate();
    // Moves e by the velocity given, then resolves a collision with rock or
    // another active by keeping one axis, reversing (bounce) or clearing the
    // blocked velocity; a hard impact sounds and is remembered; the
    // velocity is then halved. Without `keep` e's own velocity is restored
    // afterwards (a push that only moves it).
    void moveActive(Element* e, float vx, float vy, bool keep);
    // Rows of e's picture under the water surface; 0 above it or in a level
    // without water.
    int getWaterCollision(const Element* e) const;
    // e's outline lies on rock (clean depth 10) or its picture overlaps
    // another active's.
    bool getElementCollide(const Element* e) const;
    // One more step of every dog, with gravity and rock.
    void dogUpdate();
    // Moves d by its velocity; against rock it keeps the free axis or goes
    // back where its step began.
    void moveDog(Dog* d);
    // Some pixel of d's picture rectangle lies on rock (clean depth 10).
    bool getDogCollide(const Dog* d) const;
    // Throws an object into the room with the given velocity (a bouncing
    // `Thrown` element that the camera follows). Returns false, throwing
    // nothing, when its place is taken by rock or another active; a null
    // tile throws nothing and returns true.
    bool addActive(int x, int y, int depth, Tile* t, const char* name, const char* text, float vx, float vy);
    // Delete one object of `actives` or `bonus`; indices out of range do
    // nothing. `thrown` follows the deletion.
    void deleteActive(int i);
    void deleteBonus(int i);
    // Bonus i becomes another thing lying there: tile, kind line and kind.
    void changeBonus(int i, Tile* t, const char* text, int kind);

    // Triggers: switching things by name (exact and case-sensitive; no match
    // does nothing).
    // Every light of that name on (on != 0) or off.
    void activeLight(const char* name, int on);
    // Every active of that name switched on or off.
    void activeActive(const char* name, int on);
    // Sets input `input` (0..7; others change nothing) of every box of that
    // name to `value`, then switches the box's target on exactly while its
    // inputs match its solution.
    void activeBox(const char* name, int input, int value);
    // The room's message box, when it has one.
    void createMessage(const char* text, int seconds, int colour);
    void terminateMessage();
    bool messageExist() const;
    // Animated elements of that name hidden or shown.
    void hideEntity(const char* name);
    void showEntity(const char* name);
    // Animated elements of that name take the tile `tileName` (from frame 0,
    // when it exists and differs) and move by (dx, dy) in every case.
    void setElementAnim(const char* name, const char* tileName, int dx, int dy, TileList* tiles);
    // Animated elements of that name play at `speed` frames per update.
    void setElementPlay(const char* name, float speed);
    // Centre of the picture of the first element of `elements` of that
    // name; nothing is written when there is none.
    void getElementPosition(const char* name, int* x, int* y) const;

private:
    // The libraries this room found pictures in, given back when it goes.
    std::vector<TileList*> tileLibraries;
    // Of the elements that bound the level map, the one farthest from the
    // others (from their median position). There is at least one.
    const Element* farthestMapElement() const;
    // The memory of the map and of its two light buffers, kept for the next
    // room when this one goes.
    KeptArray<LevelPixel> mapCells;
    KeptArray<CellLight> lightRecords;
    void bakeElement(const Element* e);
    void compileKindLine(const Element* e);
    void compileDoor(const Element* e, const KIND_LINE& k);
    void compileCloud(const Element* e, const KIND_LINE& k);
    void cloudStep();
};
