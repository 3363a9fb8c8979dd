// Switching lights and objects by name, electric boxes, and what scenes do
// to a room's elements.

#include "level/ElectricBox.h"
#include "level/Light.h"
#include "SimRoom.h"

#include <algorithm>

namespace {

template <typename T>
T* named(T* object, const char* name)
{
    boundedCopy(object->name, sizeof object->name, name);
    return object;
}

} // namespace

TEST(LevelTriggersTest, BoxKeepsItsTargetOnExactlyWhileItsInputsMatch)
{
    SimRoom room(40, 40);
    room.build();
    Light* lamp = named(new Light, "hall");
    Light* other = named(new Light, "Hall");
    room.level.lights = {lamp, other};
    Element* gate = named(room.active(5, 5, 4, 4, Element::Mover), "hall");
    ElectricBox* box = named(new ElectricBox, "lock");
    boundedCopy(box->target, sizeof box->target, "hall");
    box->solution[3] = 0;
    room.level.boxes.push_back(box);

    // An input out of range changes nothing, yet the state still applies: off.
    room.level.activeBox("lock", 9, 0);
    room.level.activeBox("lock", -1, 0);
    EXPECT_FALSE(lamp->on || gate->active);
    EXPECT_EQ(std::count(box->state, box->state + 8, 1), 8);
    // Matching turns the target on; setting the same input again keeps it on.
    room.level.activeBox("lock", 3, 0);
    room.level.activeBox("lock", 3, 0);
    EXPECT_TRUE(lamp->on && gate->active);
    EXPECT_TRUE(other->on);
    room.level.activeBox("lock", 5, 0);
    EXPECT_FALSE(lamp->on || gate->active);
    // Names are exact and case-sensitive.
    room.level.activeBox("Lock", 5, 1);
    room.level.activeBox(nullptr, 5, 1);
    EXPECT_EQ(box->state[5], 0);
    room.level.activeLight("Hall", 0);
    EXPECT_FALSE(other->on);
}

TEST(LevelTriggersTest, ScenesFindAndChangeOnlyTheirOwnListsElements)
{
    SimRoom room(100, 60);
    Tile* sign = room.keep(solidTile(7, 5));
    Tile* walking = room.keep(solidTile(6, 6, int(0xFF808080u), 5, 4));
    TileList tiles("no such container");
    tiles.list.push_back(named(new Tile, "walk.anm"));
    named(place(&room.level, sign, 10, 20), "sign");
    named(place(&room.level, sign, 50, 20), "sign");
    Element* man = named(place(&room.level, walking, 30, 30), "man");
    room.level.entities.push_back(man);
    room.build();
    Element* crate = named(room.active(70, 10, 8, 8, Element::Pushable), "crate");

    int x = -1, y = -1;
    room.level.getElementPosition("crate", &x, &y);
    EXPECT_EQ(x, -1);
    room.level.getElementPosition("sign", &x, &y);
    EXPECT_EQ(x, 13);
    EXPECT_EQ(y, 22);

    // A picture missing from the library still moves the element.
    man->frame = 2.0f;
    room.level.setElementAnim("man", "run.anm", 3, -2, &tiles);
    EXPECT_EQ(man->tile, walking);
    EXPECT_FLOAT_EQ(man->frame, 2.0f);
    EXPECT_EQ(man->x, 33);
    EXPECT_EQ(man->y, 28);
    room.level.setElementAnim("man", "walk.anm", 0, 0, &tiles);
    EXPECT_EQ(man->tile, tiles.list[0]);
    EXPECT_FLOAT_EQ(man->frame, 0.0f);

    room.level.setElementPlay("man", 0.0f);
    room.level.hideEntity("man");
    room.level.hideEntity("crate");
    room.run(3);
    EXPECT_FLOAT_EQ(man->frame, 0.0f);
    EXPECT_FALSE(man->visible);
    EXPECT_TRUE(crate->visible);
}
