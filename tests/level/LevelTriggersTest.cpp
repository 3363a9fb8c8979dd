// Switching lights and objects by name, electric boxes, and the operations
// scenes use on a room's elements.

#include "level/ElectricBox.h"
#include "level/Light.h"
#include "ui/Text.h"
#include "SimRoom.h"

#include <gtest/gtest.h>

namespace {

Light* namedLight(Level& level, const char* name, bool on)
{
    Light* l = new Light;
    boundedCopy(l->name, sizeof l->name, name);
    l->on = on;
    level.lights.push_back(l);
    return l;
}

Element* named(Element* e, const char* name)
{
    boundedCopy(e->name, sizeof e->name, name);
    return e;
}

// An animated element of that name in `elements` and `entities`.
Element* entity(SimRoom& room, Tile* t, const char* name, int x, int y)
{
    Element* e = named(place(&room.level, t, x, y), name);
    room.level.entities.push_back(e);
    return e;
}

} // namespace

TEST(LevelTriggersTest, BoxKeepsItsTargetOnExactlyWhileItsInputsMatch)
{
    SimRoom room(40, 40);
    room.build();
    Light* lamp = namedLight(room.level, "hall", false);
    Light* other = namedLight(room.level, "Hall", false);
    Element* gate = named(room.active(5, 5, 4, 4, Element::Mover, false), "hall");
    ElectricBox* box = new ElectricBox;
    boundedCopy(box->name, sizeof box->name, "lock");
    boundedCopy(box->target, sizeof box->target, "hall");
    box->solution[3] = 0;
    room.level.boxes.push_back(box);

    // An input out of range changes nothing but still applies the state: off.
    lamp->on = true;
    gate->active = true;
    room.level.activeBox("lock", 9, 0);
    room.level.activeBox("lock", -1, 0);
    EXPECT_FALSE(lamp->on);
    EXPECT_FALSE(gate->active);
    for (int i = 0; i < ElectricBox::inputCount; i++)
        EXPECT_EQ(box->state[i], 1);

    room.level.activeBox("lock", 3, 0);
    EXPECT_TRUE(lamp->on);
    EXPECT_TRUE(gate->active);
    EXPECT_FALSE(other->on);
    // Setting an input twice is not toggling it: the state holds.
    room.level.activeBox("lock", 3, 0);
    EXPECT_TRUE(lamp->on);
    room.level.activeBox("lock", 5, 0);
    EXPECT_FALSE(lamp->on);
    EXPECT_FALSE(gate->active);

    // Names are exact: another case or an unknown box does nothing.
    room.level.activeBox("Lock", 5, 1);
    room.level.activeBox(nullptr, 5, 1);
    EXPECT_EQ(box->state[5], 0);
    room.level.activeLight("Hall", 1);
    EXPECT_TRUE(other->on);
    EXPECT_FALSE(lamp->on);
}

TEST(LevelTriggersTest, ScenesFindAndChangeOnlyTheirListsElements)
{
    SimRoom room(100, 60);
    Tile* still = room.keep(solidTile(7, 5));
    Tile* walking = room.keep(solidTile(6, 6, int(0xFF808080u), 5, 4));
    TileList tiles("no such container");
    tiles.list.push_back(new Tile);
    boundedCopy(tiles.list[0]->name, sizeof tiles.list[0]->name, "walk.anm");
    named(place(&room.level, still, 10, 20), "sign");
    named(place(&room.level, still, 50, 20), "sign");
    Element* man = entity(room, walking, "man", 30, 30);
    room.build();
    Element* crate = named(room.active(70, 10, 8, 8, Element::Pushable), "crate");

    // The centre of the first element of that name, in integer halves.
    int x = -1, y = -1;
    room.level.getElementPosition("sign", &x, &y);
    EXPECT_EQ(x, 13);
    EXPECT_EQ(y, 22);
    // Actives and entities-only names are not looked at; nothing is written.
    x = y = -1;
    room.level.getElementPosition(crate->name, &x, &y);
    room.level.getElementPosition("nobody", &x, &y);
    EXPECT_EQ(x, -1);
    EXPECT_EQ(y, -1);

    // A tile missing from the library still moves the element and keeps its picture.
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
    EXPECT_FALSE(man->visible);
    EXPECT_TRUE(crate->visible);
    room.run(3);
    EXPECT_FLOAT_EQ(man->frame, 0.0f);
    room.level.showEntity("man");
    EXPECT_TRUE(man->visible);
}

TEST(LevelTriggersTest, MessagesGoToTheRoomsBoxWhenItHasOne)
{
    SimRoom room(20, 20);
    room.build();
    room.level.createMessage("Hello", 3, -1);
    room.level.terminateMessage();
    EXPECT_FALSE(room.level.messageExist());

    room.level.message = new Text;
    room.level.createMessage("You need 1 key to open this door.", 4, int(0xFFFFFFFFu));
    EXPECT_TRUE(room.level.messageExist());
    EXPECT_STREQ(room.level.message->message, "You need 1 key to open this door.");
    EXPECT_EQ(room.level.message->time, 4000);
    room.level.terminateMessage();
    EXPECT_FALSE(room.level.messageExist());
    // The room's update runs the box: once ended it fades.
    room.run(1);
    EXPECT_LT(room.level.message->alpha, 0);
}
