#pragma once

#include "assets/Animation.h"
#include "assets/AnimationControler.h"
#include "assets/Tile.h"
#include "level/Light.h"
#include "player/BoundingBox.h"
#include "save/SaveState.h"

#include <vector>

struct DOOR;
class Dog;
class Element;
class Level;
class Map;
class Screen;
class TileList;

// A one-time object the player has taken (a key, a skull, a map piece), so
// that it does not come back when its room is entered again.
struct OBJECT {
    char name[256];
    unsigned char flag;
};

// The character the user steers through a room: its body, its movement and
// falling, ladders, crouching, riding movable elements, its pose and its
// carried lamp. Positions are level pixels of the top-left corner of the
// character picture; speeds are pixels per frame.
class Player {
public:
    // The carried lamps, by the colour of their light.
    static constexpr int candleColour = int(0xFFFFEE66u);
    static constexpr int electricColour = int(0xFFFFFFFFu);
    static constexpr int acetoColour = int(0xFFFFEE88u);
    // Positions are kept within this distance of the room's origin, so that
    // a damaged save cannot make the body's arithmetic overflow.
    static constexpr int positionLimit = 1 << 28;
    // The body's size standing, before setBBox fits it to the pose.
    static constexpr int standingWidth = 7;
    static constexpr int standingHeight = 21;

    Player();
    ~Player();
    Player(const Player&) = delete;
    Player& operator=(const Player&) = delete;

    // Reads the character sheet "character.dat", the lamp, coin and balloon
    // pictures of "tiles.dat" and the key pictures of "tiles_control.dat"
    // from `folder`. Returns 0 when the character sheet cannot be read;
    // missing pictures are simply not drawn.
    int loadContent(const char* folder);
    // Prepares a new or continued game: full life, no memories or objects,
    // the acetylene lamp's light, standing idle. Position, lamp kind and
    // checkpoint are left for the save state to set.
    void init();

    // One frame: what touches the player, the animation, the look-around,
    // movement and collisions, the pose, the lamp. `frame` is not used.
    void update(Level* level, int frame);
    void move(Level* level);
    void collide(Level* level);

    // Input, applied before the frame's update.
    void up(Level* level);
    void down(Level* level);
    void left();
    void right();
    void jump();
    void setCrawl(Level* level, bool crouch);
    void setWalk();
    void setRun();
    void toggleWalkRun();
    void viewUp();
    void viewDown();
    void viewLeft();
    void viewRight();
    void updateView();
    // The sequence shown when no input chose one this frame.
    void setAnimation();

    // Placement on entering a room.
    void setPosition(int x, int y);
    void setPositionAtElement(const char* name, Level* level);
    void getDefaultPosition(Level* level);

    // The body on the picture for the current pose and facing, and back.
    void setBBox();
    void setPositionFromBBox();
    int getAnimWidth() const;

    // Drawing at camera offset (ox, oy).
    void drawBack(Level* level, Screen* s, int ox, int oy);
    void draw(Screen* s, int ox, int oy);
    void drawFront(Level* level, Screen* s, int ox, int oy);
    // The jittered death picture; `white` whitens it.
    void drawDead(Screen* s, int ox, int oy, float amplitude, float white);

    // What the player does to the room and the room to him.
    DOOR* action(Level* level, bool hadMessage);
    void getBonusCollision(Level* level);
    void getEnnemyCollision(Level* level);
    void getDogCollision(Level* level);
    void getActiveCollision(Level* level);
    // Whether the character picture and the element's picture share a
    // non-transparent pixel, the character mirrored as drawn.
    bool getPixelPerfectCollision(const Element* e) const;
    bool getPixelPerfectCollision(const Dog* d) const;
    // Between the centres of the character picture and the element's.
    float getDistance(const Element* e) const;
    void torchOn();
    void torchOff();
    void setCurrentTorch(int kind);
    // The lamp carried, as its picture shows it; `noLamp` when none is.
    int getCurrentTorch() const;
    void changeBonusToCurrentLight(Level* level, int index);
    // Places the light at the hand of the current frame and flickers it.
    void setLight();
    void reveal(Level* level);
    void throwCoin(Level* level);
    int getMovie(Level* level);
    void toggleMap();
    void drawUse(Level* level, Screen* s, int ox, int oy);
    void drawHelp(Level* level, Screen* s, int ox, int oy);
    int getLife() const { return state.life; }
    int getMaxLife() const { return state.maxLife; }
    int getRespawn() const { return state.respawn; }
    int getCoin() const { return state.coin; }
    int getDiamond() const { return state.diamond; }
    int getNKey() const { return nKey; }

    // Memories of the rooms left and the one-time objects taken.
    void addMemorySave(Level* level);
    void deleteMemorySave(int index);
    void setMemory(Level* level);
    void deleteObjectsInLevel(Level* level);
    void setMapObjsGet();
    void removeSkulls();
    void setTouchMemory(Level* level);
    // Empties both lists (a save state replaces them).
    void clearMemories();
    void clearObjects();
    // The object and memory lists into a save record, and back: restoring
    // replaces both lists, counts the keys, reveals the map when a "map"
    // object was taken and marks the level of every memory as visited.
    // Restoring the objects alone replaces them and counts the keys, and
    // leaves the memories and the map as they are.
    void storeMemoriesAndObjects(SAVE_STATE& state) const;
    void restoreMemoriesAndObjects(const SAVE_STATE& state);
    void restoreObjects(const SAVE_STATE& state);

    Animation animation;
    AnimationControler* controler;
    BoundingBox bbox;
    Tile coinTile;
    TileList* controlTiles = nullptr;
    // Pictures of the letter keys 'a' to 'z', by key symbol; null when missing.
    Tile* keyTiles[512] = {};
    // What a slot keeps of him: position, facing, pose flags, fall speed,
    // life, purse, carried lamp and checkpoint.
    PLAYER_STATE state;
    float viewX = 0.0f;
    float viewY = 0.0f;
    bool flying = false;
    int pushTimer = 0;
    int nKey = 0;
    Tile candleTile;
    Tile torchTile;
    Tile acetoTile;
    Tile candleBonusTile;
    Tile torchBonusTile;
    Tile acetoBonusTile;
    Tile* carriedTile = &acetoTile;
    Tile balloonTile;
    // The frame of the action key's picture over usable things, which
    // alternates between its first two frames.
    float helpFrame = 0.0f;
    float lightSpeed = 0.1f;
    float lightFrame = 0.0f;
    // The carried lamp, which the player moves and changes on the game's
    // thread alone.
    Light light;
    // Its copy in the room's light list, the one the lighting thread reads:
    // the world refreshes it from `light` through Level::copyLight.
    Light sharedLight;
    // The lamp kind of state.currentTorch before the first lamp is taken
    // (a new game starts so: the candle comes first).
    static constexpr int noLamp = 0;
    int nObjects = 0;
    std::vector<OBJECT*> objects;
    bool showMap = false;
    // The world map, built anew by init, which marks its keys and
    // phosphorescent paint from the levels in `contentFolder`.
    Map* map = nullptr;
    char contentFolder[256] = ".";
    // What he remembers of each room he has left: the memory strength and
    // the phosphorescent charge of every level map cell, bit for bit. A
    // record is never changed, only replaced, so save records share it.
    std::vector<SHARED_MEMORY> memorySaves;

private:
    // Colour of the character picture at level pixel (px, py) in frame
    // `frame`, mirrored as drawn; 0 outside the picture.
    int pixelAt(long long px, long long py, int frame) const;
    // A hurt that water, gas, an arc or toxic matter deal while no other
    // hurt is running; `slot` is its sound.
    void hurt(int slot);
    // A kill whatever the hurt timer says.
    void kill(int slot);
    // What touching an enemy does, by its enemy word (EnnemyToxic...).
    void touchEnnemy(int ennemy, const Element* e);
    // Takes the bonus if its kind word is one that is taken; false leaves it lying.
    bool takeBonus(Level* level, const Element* b);
    void takeGold();
    void takeDiamond();
    void takeObject(const Element* b);
    // The things the action key would use now: touched doors, switches,
    // signs and lamps lying there, with where their help is drawn.
    template <class F> void forEachUsable(Level* level, F use);
    // Swaps the carried lamp with lamp bonus `index` (kind 1 candle, 2
    // torch, 3 acetylene lamp), or takes it when the carried one is out.
    void takeLamp(Level* level, int index, int kind);
    // Sets `state.crawl` and the matching body size.
    void setPose(bool crouch);
    // Whether the body touches a ladder's picture.
    bool touchesLadder(Level* level);
    // Lifts the body up to 5 pixels; true when that freed it.
    bool stepUp(Level* level);
    // Walks back toward the previous position; true when a free place was found.
    bool walkBack(Level* level);
    // After the free-space search: the picture back on the body as
    // setPositionFromBBox puts it, or, where that leaves the body in rock
    // deeper than a step up reaches after the next fall, exactly on the
    // free place found, the fall stopped.
    void settleOnBody(Level* level);
    // The rows the vertical speed moves him in the next frame's move.
    int nextDrop() const;
    // Held back vertically: the rise or fall stops, and a fall faster than
    // a landing's ends the airborne state.
    void holdBackVertically();
    // Whether the body collides at (px, py).
    bool collidesAt(Level* level, int px, int py);
    // Takes hold of a ladder, climbing at `speed`; centres on it when not yet climbing.
    void grip(Level* level, const Element* ladder, float speed);
    // A step towards `towards` (0 right, 1 left) in the pose of the moment.
    void walk(int towards);
    // Shows sequence `name` at `speed`; showLit uses its "_t" version, the
    // character holding up his lamp, while the lamp is lit.
    void show(const char* name, float speed);
    void showLit(const char* name, float speed);
    void keepInRange();
};
