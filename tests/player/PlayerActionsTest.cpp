// The action key on doors, signs, switches and lamps lying in rooms built
// by the tests; spending diamonds and coins; scene triggers; the help drawn
// over usable things.
#include "player/Player.h"

#include "HallRoomFixture.h"
#include "audio/Control.h"
#include "level/LevelFixtures.h"
#include "level/Light.h"
#include "render/Screen.h"
#include "ui/Text.h"

namespace {

class ActionTest : public HallRoomTest {
protected:
    // The action key pressed while standing at x.
    DOOR* pressAt(int x, bool hadMessage = false)
    {
        room.place(x, restY);
        return p.action(room.level, hadMessage);
    }
    std::string message() const { return room.level->message->message; }
    Element* entity(const char* name) const
    {
        for (Element* e : room.level->entities)
            if (std::strcmp(e->name, name) == 0)
                return e;
        return nullptr;
    }
};

} // namespace

TEST_F(ActionTest, LockedDoorsCountKeysWithoutUsingThemAndTheFirstThatOpensIsTaken)
{
    game.thing("three", 52, 118, 12, 32, "locked_key_door other.lvl b 3");
    game.thing("one", 52, 118, 12, 32, "locked_key_door other.lvl a 1");
    game.thing("plain", 52, 118, 12, 32, "door other.lvl c");
    enter(50);

    DOOR* d = p.action(room.level, false);
    ASSERT_TRUE(d);
    EXPECT_STREQ(d->target, "c");
    EXPECT_EQ(message(), "You need 1 key to open this door.");
    EXPECT_EQ(room.level->message->time, 4000);
    EXPECT_EQ(room.level->message->colour, int(0xFFFFFFFFu));

    p.nKey = 2;
    d = p.action(room.level, false);
    EXPECT_STREQ(d->target, "a");
    EXPECT_EQ(message(), "You need 3 keys to open this door.");

    p.nKey = 3;
    EXPECT_STREQ(p.action(room.level, false)->target, "b");
    EXPECT_EQ(p.nKey, 3);
    EXPECT_EQ(pressAt(150), nullptr); // nothing to use out there
}

TEST_F(ActionTest, AKeyPickedUpOnTheWayOpensTheLockedDoor)
{
    game.thing("gate", 52, 118, 12, 32, "locked_key_door other.lvl inside 1");
    game.bonus("key_hall", 150, 140, "one_time");
    enter(50);
    EXPECT_EQ(p.action(room.level, false), nullptr);
    EXPECT_TRUE(room.level->messageExist());

    for (int i = 0; i < 200 && p.nKey == 0; i++)
        room.frame(held("R"));
    ASSERT_EQ(p.nKey, 1);
    ASSERT_EQ(p.nObjects, 1);
    EXPECT_STREQ(p.objects[0]->name, "key_hall");
    EXPECT_TRUE(room.level->bonus.empty());
    EXPECT_TRUE(heardSlot(mixer, keySlot));

    for (int i = 0; i < 200 && p.x > 50; i++)
        room.frame(held("L"));
    DOOR* d = p.action(room.level, false);
    ASSERT_TRUE(d);
    EXPECT_STREQ(d->destination, "other.lvl");
    EXPECT_EQ(p.nKey, 1);
}

TEST_F(ActionTest, SignsShowTheirMessageUnlessThePressClosedOne)
{
    game.thing("sign", 52, 130, 10, 20, "text FF88FF88 Mind the gap, please.");
    game.thing("bare", 200, 130, 10, 20, "text");
    enter(50);
    pressAt(50, true);
    EXPECT_FALSE(room.level->messageExist());

    pressAt(50);
    EXPECT_EQ(message(), "Mind the gap, please.");
    EXPECT_EQ(room.level->message->colour, int(0xFF88FF88u));
    EXPECT_EQ(room.level->message->time, 2000); // 21 characters: two seconds

    // A sign with no message shows an empty one instead of what lies past its text.
    pressAt(198);
    EXPECT_EQ(message(), "");
}

// Three four-notch levers set inputs 0 to 2 of a box whose solution wants
// 1, 0, 1; the box switches a lift that rises 40 pixels.
class LeverTest : public ActionTest {
protected:
    void SetUp() override
    {
        ActionTest::SetUp();
        game.thing("lever0", 30, 138, 8, 12, "switch gates 0", 4);
        game.thing("lever1", 80, 138, 8, 12, "switch gates 1", 4);
        game.thing("lever2", 130, 138, 8, 12, "switch gates 2", 4);
        game.box("gates", "0 0 0 1 1 1 1 1", "1 0 1 1 1 1 1 1", "lift");
        game.thing("lift", 200, 140, 30, 6, "move 200 100");
        enter(50);
    }
    bool open() const { return active("lift")->active; }
};

TEST_F(LeverTest, OnlyTheRightCombinationOpensTheBox)
{
    pressAt(26);
    EXPECT_EQ(entity("lever0")->currentFrame(), 1);
    EXPECT_FALSE(open());
    pressAt(126);
    EXPECT_TRUE(open());
    pressAt(76);
    EXPECT_FALSE(open());
    // Each press moves a lever one notch on; the fourth brings it back to 0.
    pressAt(76);
    pressAt(76);
    EXPECT_FALSE(open());
    EXPECT_EQ(entity("lever1")->currentFrame(), 3);
    pressAt(76);
    EXPECT_EQ(entity("lever1")->currentFrame(), 0);
    EXPECT_TRUE(open());
}

TEST_F(LeverTest, TheLiftCarriesThePlayerUpAndBack)
{
    pressAt(26);
    pressAt(126);
    ASSERT_TRUE(open());
    // Standing on a movable thing, the picture's lowest row overlaps its top one.
    room.roomMoves = true;
    room.place(205, 140 - 24);
    room.frames(60, held());
    EXPECT_EQ(active("lift")->y, 100);
    EXPECT_EQ(p.y, 100 - 24);
    EXPECT_EQ(p.x, 205);
    EXPECT_EQ(p.life, 3);

    // Switched off, it goes home and he comes down with it.
    pressAt(26);
    room.place(205, 100 - 24);
    room.frames(80, held());
    EXPECT_EQ(active("lift")->y, 140);
    EXPECT_EQ(p.y, 140 - 24);
}

TEST_F(ActionTest, ALightSwitchTurnsItsLampOnAndOffAndOnlyCarriedLampsChargePaint)
{
    game.thing("hall", 150, 20, 4, 4, "light omni FFFFFFFF 1.0 0 0 200");
    game.thing("switch", 52, 140, 6, 9, "switch_light hall", 2);
    game.thing("paint", 70, 120, 6, 6, "phospho");
    enter(50);
    Light* hall = nullptr;
    for (Light* l : room.level->lights)
        if (std::strcmp(l->name, "hall") == 0)
            hall = l;
    ASSERT_TRUE(hall);
    LevelPixel* paint = room.level->cellAt(72, 122);
    ASSERT_NE(paint->glow, 0);
    auto lightPass = [this] {
        room.level->computeLighting(-room.level->originX, -room.level->originY, room.level->mapWidth,
                                    room.level->mapHeight, 0);
    };

    lightPass();
    EXPECT_EQ(unsigned(paint->glow) >> 24, 0u); // the room's own lamp does not charge paint
    EXPECT_FALSE(paint->dark[room.level->front]);

    // Switches rest on "off"; the first press switches on what already is.
    pressAt(50);
    EXPECT_TRUE(hall->on);
    pressAt(50);
    EXPECT_FALSE(hall->on);
    lightPass();
    EXPECT_TRUE(paint->dark[room.level->front]);

    p.setCurrentTorch(1);
    p.setLight();
    room.level->addLight(&p.light);
    lightPass();
    EXPECT_EQ(unsigned(paint->glow) >> 24, 1u); // the candle charges the red part only
    pressAt(50);
    EXPECT_TRUE(hall->on);
}

// Switched water starts full, its surface at the highest row allowed. Map
// rows are one more than room rows here: the map has a margin of one.
TEST_F(ActionTest, WaterOverThePlayerDrownsHimOneLifeAtATime)
{
    game.thing("basin", 20, 20, 2, 2, "water_switched 0 60 150");
    game.thing("valve", 52, 138, 12, 12, "switch_water", 4);
    enter(50);
    room.roomMoves = true;
    std::vector<int> hurts;
    for (int frame = 1; frame <= 150; frame++) {
        int before = p.life;
        room.frame(held());
        if (p.life < before)
            hurts.push_back(frame);
        ASSERT_GE(p.life, 0);
    }
    // A hurt protects for 42 frames.
    EXPECT_EQ(hurts, (std::vector<int>{1, 43, 85}));
    EXPECT_EQ(p.life, 0);
    EXPECT_EQ(room.level->waterLevel, 60);
}

TEST_F(ActionTest, TheValveDrainsTheWaterAndFloodsItAgain)
{
    game.thing("basin", 20, 20, 2, 2, "water_switched 0 140 150");
    game.thing("valve", 52, 138, 12, 12, "switch_water", 4);
    enter(50);
    room.roomMoves = true;
    pressAt(50);
    EXPECT_EQ(room.level->waterMode, 2);
    room.frames(100, held());
    EXPECT_EQ(room.level->waterLevel, 150);
    EXPECT_EQ(p.life, 2); // wet only while his feet were under the surface

    pressAt(50);
    EXPECT_EQ(room.level->waterMode, 1);
    room.frames(10, held());
    EXPECT_LT(room.level->waterLevel, 149);
    EXPECT_EQ(p.life, 1);
}

TEST_F(ActionTest, LampsLyingThereAreSwappedWhileLitAndTakenWhileOut)
{
    game.bonus("candle", 56, 140, "candle");
    game.bonus("torch1", 200, 140, "electric");
    game.bonus("torch2", 200, 140, "electric");
    enter(50);
    ASSERT_EQ(room.level->bonus[0]->kind, Element::BonusCandle);
    ASSERT_TRUE(p.torch);
    ASSERT_EQ(p.currentTorch, 3);

    pressAt(50);
    Element* left = room.level->bonus[0];
    EXPECT_STREQ(left->text, "aceto");
    EXPECT_EQ(left->kind, Element::BonusAceto);
    EXPECT_EQ(left->tile, &p.acetoBonusTile);
    EXPECT_EQ(p.currentTorch, 1);
    EXPECT_EQ(p.light.style, Light::StyleCandle);
    EXPECT_EQ(played(mixer), (std::vector<int>{candlePickSlot}));
    room.frame(held()); // the carried picture follows the light's colour

    // With the lamp out the carried one is lost; the second torch, moved
    // into the freed place, waits for the next press.
    p.torchOff();
    p.way = 1;
    mixer.events.clear();
    pressAt(196);
    ASSERT_EQ(room.level->bonus.size(), 2u);
    EXPECT_STREQ(room.level->bonus[1]->name, "torch2");
    EXPECT_EQ(p.currentTorch, 2);
    EXPECT_TRUE(p.torch);
    EXPECT_EQ(p.light.style, Light::StyleElectric);
    EXPECT_EQ(p.light.direction, 180);
    // The pick-up sound, then the carried picture's: still the candle's.
    EXPECT_EQ(played(mixer), (std::vector<int>{candlePickSlot + 1, candleOnSlot}));
    room.frame(held());
    EXPECT_EQ(p.getCurrentTorch(), 2);
}

TEST_F(ActionTest, RevealingCostsFiveDiamonds)
{
    enter(50);
    std::size_t lights = room.level->lights.size();
    p.diamond = 4;
    p.reveal(room.level);
    EXPECT_EQ(p.diamond, 4);
    EXPECT_EQ(room.level->lights.size(), lights);
    EXPECT_EQ(played(mixer), (std::vector<int>{errorSlot}));

    p.diamond = 7;
    p.reveal(room.level);
    EXPECT_EQ(p.diamond, 2);
    ASSERT_EQ(room.level->lights.size(), lights + 1);
    EXPECT_EQ(room.level->lights.back()->type, Light::Special);
    EXPECT_EQ(room.level->lights.back()->x, 50);
    EXPECT_EQ(room.level->lights.back()->y, restY);
    EXPECT_EQ(played(mixer), (std::vector<int>{errorSlot, revealSlot}));
}

TEST_F(ActionTest, ThrownCoinsFlyLandAndAreTakenBack)
{
    game.picture("gold_coin01.anm", 7, 7, 8);
    enter(50);
    room.roomMoves = true;
    p.coin = 2;
    p.throwCoin(room.level);
    EXPECT_EQ(p.coin, 1);
    ASSERT_EQ(room.level->actives.size(), 1u);
    Element* coin = room.level->actives[0];
    EXPECT_EQ(coin->x, 65);
    EXPECT_EQ(coin->y, restY + 5);
    EXPECT_EQ(coin->kind, Element::Thrown);
    EXPECT_EQ(room.level->thrown, 0);

    room.frames(80, held());
    ASSERT_EQ(room.level->actives.size(), 1u);
    EXPECT_GT(coin->x, 65);
    EXPECT_EQ(coin->y + coin->tile->height, 150); // lying on the floor
    int landedX = coin->x;

    for (int i = 0; i < 200 && !room.level->actives.empty(); i++)
        room.frame(held("R"));
    EXPECT_TRUE(room.level->actives.empty());
    EXPECT_EQ(p.coin, 2);
    EXPECT_LT(p.x, landedX);

    // Against a wall the coin stays in the purse; an empty purse is an error.
    p.way = 0;
    room.place(280, restY);
    p.throwCoin(room.level);
    EXPECT_EQ(p.coin, 2);
    EXPECT_TRUE(room.level->actives.empty());
    p.coin = 0;
    mixer.events.clear();
    p.throwCoin(room.level);
    EXPECT_EQ(played(mixer), (std::vector<int>{errorSlot}));
}

TEST_F(ActionTest, ASceneTriggerIsReportedExactlyOnce)
{
    game.bonus("scene", 100, 120, "movie 3", 8, 30);
    enter(50);
    ASSERT_EQ(room.level->bonus[0]->kind, Element::BonusMovie);
    p.showMap = true;
    std::vector<int> scenes;
    for (int i = 0; i < 80; i++) {
        room.frame(held("R"));
        int scene = p.getMovie(room.level);
        if (scene != -1)
            scenes.push_back(scene);
    }
    EXPECT_GT(p.x, 110);
    EXPECT_EQ(scenes, (std::vector<int>{3}));
    EXPECT_FALSE(p.showMap);
    EXPECT_TRUE(room.level->bonus.empty());
}

TEST_F(ActionTest, HelpOutlinesUsableThingsAndShowsTheBoundActionKey)
{
    game.thing("exit", 52, 118, 12, 32, "door other.lvl c");
    game.thing("lamp", 150, 20, 4, 4, "light omni FFFFFFFF 1.0 0 0 20");
    game.thing("switch", 200, 140, 6, 9, "switch_light lamp", 2);
    enter(50);
    Screen s(300, 200, 1);
    s.clear(int(0xFF000000u));
    const int green = int(0xFF00FF00u);
    p.drawUse(room.level, &s, 0, 0);
    EXPECT_EQ(s.getPixel(51, 130), green);
    EXPECT_EQ(s.getPixel(64, 130), green);
    EXPECT_EQ(s.getPixel(58, 130), int(0xFF000000u));

    // Light switches get no outline.
    room.place(196, restY);
    s.clear(int(0xFF000000u));
    p.drawUse(room.level, &s, 0, 0);
    EXPECT_EQ(s.getPixel(199, 145), int(0xFF000000u));

    // The key's picture over the door, its two frames alternating every 10 frames.
    auto keyCap = filledTile(3, 3, 2, TILE_PIXEL{int(0xFFFF0000u), 0, 0.0f});
    for (int i = 0; i < 9; i++)
        keyCap->frames[1].data[i].colour = int(0xFF0000FFu);
    p.keyTiles['e'] = keyCap.get();
    loadDefaultControls();
    setControl(controlAction, 'e');
    room.place(50, restY);
    std::string frames;
    for (int i = 0; i < 25; i++) {
        s.clear(int(0xFF000000u));
        p.drawHelp(room.level, &s, 0, 0);
        frames += s.getPixel(52 - 10, 118 - 5) == int(0xFFFF0000u) ? '0' : s.getPixel(42, 113) == int(0xFF0000FFu) ? '1' : '-';
    }
    EXPECT_EQ(frames, "0000000000111111111100000");

    // Bound to a key that is no letter, nothing is drawn and the icon stands still.
    setControl(controlAction, 273);
    float frame = p.helpFrame;
    s.clear(int(0xFF000000u));
    p.drawHelp(room.level, &s, 0, 0);
    EXPECT_EQ(s.getPixel(42, 113), int(0xFF000000u));
    EXPECT_FLOAT_EQ(p.helpFrame, frame);
    loadDefaultControls();
    p.keyTiles['e'] = nullptr;
}
