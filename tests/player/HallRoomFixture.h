#pragma once

#include "PlayerFixtures.h"
#include "audio/FakeMixer.h"
#include "level/LevelFixtures.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

// The picture's top row of a player standing on the test hall's floor.
const int restY = 125;

// Sound slots played once, in order.
inline std::vector<int> played(const FakeMixer& mixer)
{
    std::vector<int> slots;
    for (const MIXER_EVENT& e : mixer.calls("playChannel"))
        if (e.second == 0)
            slots.push_back(e.first);
    return slots;
}

// A hall: rock around an open space from (10, 10) to (289, 149), a floor
// whose top row is 150. Standing at x, the body covers columns x + 6 to
// x + 13 and rows 130 to 149. Sounds reach a recording mixer.
class HallRoomTest : public testing::Test {
protected:
    void SetUp() override
    {
        initSounds();
        game.rock(0, 0, 300, 200);
        game.open(10, 10, 280, 140);
    }
    void TearDown() override { closeSounds(); }
    void enter(int x, int y = restY)
    {
        game.load(&room);
        room.place(x, y);
    }
    Element* active(const char* name) const { return named(room.level->actives, name); }

    FakeMixer mixer;
    TestGame game;
    PlayerRoom room;
    Player& p = room.player;
};
