// Scenes played in the rooms of the game that they are written for: the
// player, the room and its named elements answer the scripts.
#include "cutscene/Movie.h"
#include "level/Element.h"
#include "level/Level.h"
#include "authoring/PlayerRoom.h"

#include "cutscene/MovieClock.h"
#include "level/LevelFixtures.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace {

// Plays a scene one code a frame as the game does: the codes for the
// player and the room go to applyToRoom, the brightness codes to a local
// value, the others are kept; then the player moves and the script is told
// where he is. 33 ms pass every frame.
struct SceneInRoom {
    PlayerRoom room;
    Movie movie;
    float luminance = 1.0f;
    std::vector<int> worldCodes;

    bool load(const char* levelFile, int scene)
    {
        MovieClock::now = 1000;
        movie.clock = MovieClock::read;
        movie.loadPreset(scene);
        movie.rewind();
        return room.load(GLOAMER_GAME_DIR, levelFile) == 1;
    }
    // Frames played until the script ended, -1 when it had not after `limit`.
    int play(int limit)
    {
        for (int frame = 1; frame <= limit; frame++) {
            int code = movie.readAction();
            if (code == Movie::codeEnd)
                return frame;
            if (!movie.applyToRoom(code, &room.player, room.level, room.tiles))
                applyToWorld(code);
            room.player.update(room.level, ++room.frameCount);
            MovieClock::now += 33;
            movie.update(&room.player, luminance);
        }
        return -1;
    }
    void applyToWorld(int code)
    {
        switch (code) {
        case Movie::codeBlack: luminance = 0.0f; break;
        case Movie::codeBright: luminance = 1.0f; break;
        case Movie::codeBrighten: luminance += 0.05f; break;
        case Movie::codeDarken: luminance -= 0.05f; break;
        case Movie::codeNothing: break;
        default: worldCodes.push_back(code); break;
        }
    }
    Element* element(const char* name) { return named(room.level->entities, name); }
};

TEST(MovieInRoom, ThePlayerFallsIntoTheCatacombsHubAndTheCatWalksOff)
{
    SceneInRoom scene;
    ASSERT_TRUE(scene.load("hub_metro.lvl", 1));
    Element* cat = scene.element("element074");
    ASSERT_TRUE(cat);
    int catX = cat->x;
    // He comes in by the door from the sand rooms, where the scene starts.
    scene.room.placeAt("to_unknow_room");
    ASSERT_LT(scene.room.player.state.x, 198) << "the run to the hole goes right";

    // About 70 seconds of lines and waits.
    EXPECT_GT(scene.play(30 * 120), 0) << "stuck at action " << scene.movie.cursor;
    EXPECT_NEAR(327, scene.room.player.state.y, 10) << "landed at the bottom of the shaft";
    EXPECT_NEAR(198, scene.room.player.state.x, 12);
    EXPECT_FALSE(scene.room.player.state.jumping) << "standing on the floor of the hall";
    EXPECT_EQ(catX - 101, cat->x);
    EXPECT_STREQ("void.til", cat->tile->name);
    EXPECT_FLOAT_EQ(1.0f, scene.luminance);
    EXPECT_EQ(std::vector<int>({Movie::codeHideHud, Movie::codeShowHud}), scene.worldCodes);
}

TEST(MovieInRoom, ThePlayerTakesTheBalloonAndRisesOutOfTheShaft)
{
    SceneInRoom scene;
    ASSERT_TRUE(scene.load("end02.lvl", 9));
    Element* balloon = scene.element("balloon");
    ASSERT_TRUE(balloon);
    scene.room.placeAt("to_maze2");

    // Up to the wait for the risen player, then a second of rising.
    const int waitForHeight = 10;
    for (int frame = 0; frame < 30 * 20 && scene.movie.cursor < waitForHeight; frame++)
        scene.play(1);
    ASSERT_EQ(waitForHeight, scene.movie.cursor);
    int startY = scene.room.player.state.y;
    scene.play(30);
    EXPECT_NEAR(370, scene.room.player.state.x, 3) << "walked to the balloon";
    EXPECT_TRUE(scene.room.player.flying);
    EXPECT_EQ(startY - 30, scene.room.player.state.y);
    EXPECT_FALSE(balloon->visible);

    // The shaft is open to the sky: he rises past the top of the map to
    // y -200, and the scene fades out and ends the game.
    EXPECT_GT(scene.play(30 * 60), 0) << "stuck at action " << scene.movie.cursor << " at y "
                                      << scene.room.player.state.y;
    EXPECT_LE(scene.room.player.state.y, -190);
    EXPECT_FLOAT_EQ(0.0f, scene.luminance);
    EXPECT_EQ(std::vector<int>({Movie::codeHideHud, Movie::codeFinished}), scene.worldCodes);
}

TEST(MovieInRoom, ThePoliceCarDrivesOffTheStreet)
{
    SceneInRoom scene;
    ASSERT_TRUE(scene.load("end04.lvl", 8));
    Element* car = scene.element("police_car");
    ASSERT_TRUE(car);
    int carX = car->x;
    scene.room.place(150, 196);

    EXPECT_GT(scene.play(30 * 60), 0);
    EXPECT_FALSE(scene.room.player.state.visible);
    EXPECT_EQ(carX + 505, car->x);
    EXPECT_STREQ("car01.til", car->tile->name);
}

} // namespace
