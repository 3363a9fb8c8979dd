// The action key on doors, signs, switches and lamps in rooms built by the
// tests; spending diamonds and coins; scene triggers; the help pictures.
#include "player/Player.h"

#include "HallRoomFixture.h"
#include "audio/Control.h"
#include "level/Light.h"
#include "render/Screen.h"
#include "level/Text.h"

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
    Element* entity(const char* name) const { return named(room.level->entities, name); }
};

} // namespace

TEST_F(ActionTest, LockedDoorsCountKeysWithoutUsingThemAndSignsShowTheirText)
{
    game.thing("three", 52, 118, 12, 32, "locked_key_door other.lvl b 3");
    game.thing("one", 52, 118, 12, 32, "locked_key_door other.lvl a 1");
    game.thing("plain", 52, 118, 12, 32, "door other.lvl c");
    game.thing("sign", 150, 130, 10, 20, "text FF88FF88 Mind the gap, please.");
    game.thing("bare", 200, 130, 10, 20, "text");
    enter(50);
    // The first door that opens, in list order, is taken.
    EXPECT_STREQ(pressAt(50)->target, "c");
    EXPECT_EQ(message(), "You need 1 key to open this door.");
    EXPECT_EQ(room.level->message->time, 4000);
    p.nKey = 2;
    EXPECT_STREQ(pressAt(50)->target, "a");
    EXPECT_EQ(message(), "You need 3 keys to open this door.");
    p.nKey = 3;
    EXPECT_STREQ(pressAt(50)->target, "b");
    EXPECT_EQ(p.nKey, 3);

    room.level->terminateMessage();
    EXPECT_EQ(pressAt(148, true), nullptr); // the press closed a message: no sign
    EXPECT_FALSE(room.level->messageExist());
    pressAt(148);
    EXPECT_EQ(message(), "Mind the gap, please.");
    EXPECT_EQ(room.level->message->colour, int(0xFF88FF88u));
    EXPECT_EQ(room.level->message->time, 2000); // 21 characters
    pressAt(198);
    EXPECT_EQ(message(), ""); // nothing read past a sign's text
}

// Three four-notch levers set inputs 0 to 2 of a box whose solution wants
// 1, 0, 1; the box switches a lift from row 140 up to row 100.
TEST_F(ActionTest, OnlyTheRightCombinationRaisesTheLiftWhichCarriesThePlayer)
{
    game.thing("lever0", 30, 138, 8, 12, "switch gates 0", 4);
    game.thing("lever1", 80, 138, 8, 12, "switch gates 1", 4);
    game.thing("lever2", 130, 138, 8, 12, "switch gates 2", 4);
    game.box("gates", "0 0 0 1 1 1 1 1", "1 0 1 1 1 1 1 1", "lift");
    game.thing("lift", 200, 140, 30, 6, "move 200 100");
    enter(50);
    Element* lift = active("lift");
    std::string opened;
    for (int x : {26, 126, 76, 76, 76, 76}) {
        pressAt(x);
        opened += lift->active ? '1' : '0';
    }
    // Each press moves a lever one notch on; the fourth brings it back to 0.
    EXPECT_EQ(opened, "010001");
    EXPECT_EQ(entity("lever1")->currentFrame(), 0);

    // Standing on a movable thing, the picture's lowest row overlaps its top.
    room.roomMoves = true;
    room.place(205, 140 - 24);
    room.frames(60, held());
    EXPECT_EQ(lift->y, 100);
    EXPECT_EQ(p.state.y, 100 - 24);
    pressAt(26);
    room.place(205, 100 - 24);
    room.frames(80, held());
    EXPECT_EQ(lift->y, 140);
    EXPECT_EQ(p.state.y, 140 - 24);
}

TEST_F(ActionTest, ALightSwitchTurnsItsLampOnAndOffAndOnlyCarriedLampsChargePaint)
{
    game.thing("hall", 150, 20, 4, 4, "light omni FFFFFFFF 1.0 0 0 200");
    game.thing("switch", 52, 140, 6, 9, "switch_light hall", 2);
    game.thing("paint", 70, 120, 6, 6, "phospho");
    enter(50);
    Light* hall = room.level->lights[0];
    LevelPixel* paint = room.level->cellAt(72, 122);
    auto lightPass = [this] {
        Level* l = room.level;
        l->computeLighting(-l->originX, -l->originY, l->mapWidth, l->mapHeight, 0);
    };
    lightPass();
    EXPECT_EQ(unsigned(paint->glow) >> 24, 0u);
    // Switches rest on "off": the first press switches on what already is.
    pressAt(50);
    EXPECT_TRUE(hall->on);
    pressAt(50);
    EXPECT_FALSE(hall->on);
    lightPass();
    EXPECT_TRUE(room.level->lightOf(room.level->front, int(paint - room.level->map)).dark());

    p.setCurrentTorch(1);
    p.setLight();
    room.level->addLight(&p.light);
    lightPass();
    EXPECT_EQ(unsigned(paint->glow) >> 24, 1u); // the candle charges red only
}

// Switched water starts full, at its highest row. Map rows are one more
// than room rows here: the map has a margin of one. How long a hurt
// protects is ContactTest.HurtsTakeALifeAndProtectForAWhilePicksAndDogsKill's.
TEST_F(ActionTest, WaterDrownsThePlayerUntilTheValveDrainsIt)
{
    game.thing("basin", 20, 20, 2, 2, "water_switched 0 140 150");
    game.thing("valve", 52, 138, 12, 12, "switch_water", 4);
    enter(50);
    room.roomMoves = true;
    room.frame(held());
    EXPECT_EQ(p.state.life, 2);

    PlayerRoom drained;
    game.load(&drained);
    drained.roomMoves = true;
    drained.place(50, restY);
    drained.player.action(drained.level, false);
    EXPECT_EQ(drained.level->waterMode, 2);
    drained.frames(100, held());
    EXPECT_EQ(drained.level->waterLevel, 150);
    EXPECT_EQ(drained.player.state.life, 2); // wet only until the surface sank below his feet
    drained.player.action(drained.level, false);
    EXPECT_EQ(drained.level->waterMode, 1);
}

// A wide, low thing at chest height crosses the body with no corner of
// either inside the other: the action key still reaches it, and reaches a
// few pixels beyond its edge, exactly where its key picture shows.
TEST_F(ActionTest, TheActionReachesWhatTheBodyCrossesAndAFewPixelsAround)
{
    game.thing("plaque", 150, 134, 20, 6, "text FFFFFFFF Wide plaque.");
    enter(50);
    for (int x : {154, 134, 132}) {
        room.level->terminateMessage();
        room.level->message->message[0] = 0;
        pressAt(x);
        bool reached = x != 132; // the body's right edge is x + 13, the reach 3 pixels
        EXPECT_EQ(message(), reached ? "Wide plaque." : "") << x;
        Screen s(300, 200, 1);
        s.clear(0);
        p.drawUse(room.level, &s, 0, 0);
        EXPECT_EQ(s.getPixel(149, 137), reached ? int(0xFF00FF00u) : 0) << x;
    }
}

TEST_F(ActionTest, LampsLyingThereAreSwappedWhileLitAndTakenWhileOut)
{
    game.bonus("candle", 56, 140, "candle");
    game.bonus("torch1", 200, 140, "electric");
    game.bonus("torch2", 200, 140, "electric");
    enter(50);
    pressAt(50);
    Element* left = room.level->bonus[0];
    EXPECT_STREQ(left->text, "aceto");
    EXPECT_EQ(left->kind, Element::BonusAceto);
    EXPECT_EQ(left->tile, &p.acetoBonusTile);
    EXPECT_EQ(p.state.currentTorch, 1);
    EXPECT_EQ(p.light.style, Light::StyleCandle);
    EXPECT_EQ(message(), "You take the candle.");
    room.frame(held()); // the carried picture follows the light's colour

    // With the lamp out the carried one is lost; the second torch, moved
    // into the freed place, waits for the next press.
    p.torchOff();
    p.state.way = 1;
    mixer.events.clear();
    pressAt(196);
    ASSERT_EQ(room.level->bonus.size(), 2u);
    EXPECT_STREQ(room.level->bonus[1]->name, "torch2");
    EXPECT_EQ(p.state.currentTorch, 2);
    EXPECT_TRUE(p.state.torch);
    EXPECT_EQ(p.light.direction, 180);
    EXPECT_EQ(played(mixer), (std::vector<int>{candlePickSlot + 1, candleOnSlot}));
}

TEST_F(ActionTest, TheFirstLampOfAPlayerWithoutOneLeavesNothingBehind)
{
    game.bonus("candle", 56, 140, "candle");
    enter(50);
    p.setCurrentTorch(Player::noLamp);
    EXPECT_EQ(p.getCurrentTorch(), Player::noLamp);
    pressAt(50); // lit or not, there is no carried lamp to leave lying
    EXPECT_TRUE(room.level->bonus.empty());
    EXPECT_EQ(p.state.currentTorch, 1);
    room.frame(held());
    EXPECT_EQ(p.getCurrentTorch(), 1);
}

TEST_F(ActionTest, RevealingCostsFiveDiamondsAndCoinsAreThrownLandAndTakenBack)
{
    game.picture("gold_coin01.anm", 7, 7, 8);
    enter(50);
    std::size_t lights = room.level->lights.size();
    p.state.diamond = 4;
    p.reveal(room.level);
    EXPECT_EQ(p.state.diamond, 4);
    EXPECT_EQ(room.level->lights.size(), lights);
    p.state.diamond = 7;
    p.reveal(room.level);
    EXPECT_EQ(p.state.diamond, 2);
    EXPECT_EQ(room.level->lights.back()->type, Light::Special);
    EXPECT_EQ(played(mixer), (std::vector<int>{errorSlot, revealSlot}));

    room.roomMoves = true;
    p.state.coin = 2;
    p.throwCoin(room.level);
    EXPECT_EQ(p.state.coin, 1);
    ASSERT_EQ(room.level->actives.size(), 1u);
    Element* coin = room.level->actives[0];
    EXPECT_EQ(coin->x, 65);
    room.frames(80, held());
    EXPECT_EQ(coin->y + 7, 150); // lying on the floor
    for (int i = 0; i < 200 && !room.level->actives.empty(); i++)
        room.frame(held("R"));
    EXPECT_EQ(p.state.coin, 2);

    room.place(280, restY); // facing the wall: the coin stays in the purse
    p.throwCoin(room.level);
    EXPECT_EQ(p.state.coin, 2);
    EXPECT_TRUE(room.level->actives.empty());
}

TEST_F(ActionTest, ASceneTriggerIsReportedExactlyOnce)
{
    game.bonus("scene", 100, 120, "movie 3", 8, 30);
    enter(50);
    p.showMap = true;
    std::vector<int> scenes;
    for (int i = 0; i < 80; i++) {
        room.frame(held("R"));
        if (int scene = p.getMovie(room.level); scene != -1)
            scenes.push_back(scene);
    }
    EXPECT_GT(p.state.x, 110);
    EXPECT_EQ(scenes, (std::vector<int>{3}));
    EXPECT_FALSE(p.showMap);
}

TEST_F(ActionTest, HelpOutlinesUsableThingsAndShowsTheBoundActionKey)
{
    game.thing("exit", 52, 118, 12, 32, "door other.lvl c");
    game.thing("lamp", 150, 20, 4, 4, "light omni FFFFFFFF 1.0 0 0 20");
    game.thing("switch", 200, 140, 6, 9, "switch_light lamp", 2);
    enter(50);
    const int black = int(0xFF000000u), green = int(0xFF00FF00u), red = int(0xFFFF0000u), blue = int(0xFF0000FFu);
    Screen s(300, 200, 1);
    s.clear(black);
    p.drawUse(room.level, &s, 0, 0);
    EXPECT_EQ(s.getPixel(51, 130), green);
    EXPECT_EQ(s.getPixel(64, 130), green);
    room.place(196, restY);
    s.clear(black);
    p.drawUse(room.level, &s, 0, 0);
    EXPECT_EQ(s.getPixel(199, 145), green); // a light switch is used like a lever

    auto keyCap = filledTile(3, 3, 2, TILE_PIXEL{red, 0, 0.0f});
    for (int i = 0; i < 9; i++)
        keyCap->frames[1].data[i].colour = blue;
    p.keyTiles['e'] = keyCap.get();
    loadDefaultControls();
    room.place(50, restY);
    std::string frames;
    for (int i = 0; i < 25; i++) {
        s.clear(black);
        p.drawHelp(room.level, &s, 0, 0);
        int c = s.getPixel(52 - 10, 118 - 5);
        frames += c == red ? '0' : c == blue ? '1' : '-';
    }
    EXPECT_EQ(frames, "0000000000111111111100000");
    setControl(controlAction, 273); // not a letter: nothing, and the icon stands still
    float frame = p.helpFrame;
    s.clear(black);
    p.drawHelp(room.level, &s, 0, 0);
    EXPECT_EQ(s.getPixel(42, 113), black);
    EXPECT_FLOAT_EQ(p.helpFrame, frame);
    loadDefaultControls();
    p.keyTiles['e'] = nullptr;
}
