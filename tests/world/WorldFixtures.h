#pragma once

#include "app/Frame.h"
#include "level/Element.h"
#include "level/Level.h"
#include "level/LevelFixtures.h"
#include "platform/GameFolders.h"
#include "player/Player.h"
#include "ui/Menu.h"
#include "world/World.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <unistd.h>

// The program's own frame, started in the game directory, with a game
// begun in a room; frames run through the frame's update and draw as in
// the game, without pacing. Shutting the frame down leaves its globals as
// before start-up, so tests run one after another in one process too.
class InGame : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_NE(nullptr, getcwd(previous, sizeof previous));
        ASSERT_EQ(0, chdir(GLOAMER_GAME_DIR));
        ASSERT_EQ(0, startUp());
        world.pacing = false;
        world.slotWaitFrames = 0;
        // The game's slots in a folder of the test's own.
        char pattern[] = "/tmp/gloamer_world_XXXXXX";
        ASSERT_NE(nullptr, mkdtemp(pattern));
        std::snprintf(folder, sizeof folder, "%s", pattern);
        std::snprintf(world.slotFile, sizeof world.slotFile, "%s/slot0.sav", folder);
        setPlayerFolder(folder);
    }

    void TearDown() override
    {
        setPlayerFolder("");
        shutDown();
        std::string remove = std::string("rm -rf ") + folder;
        ASSERT_EQ(0, std::system(remove.c_str()));
        ASSERT_EQ(0, chdir(previous));
    }

    void begin(const char* levelFile, int x, int y)
    {
        world.startAt(levelFile, x, y, &typo, pixelScreen);
        menu.setGameState(Menu::statePlaying);
        ASSERT_NE(nullptr, world.level->map) << levelFile;
    }

    // Starts in the room standing on its element `name` (a door), wherever
    // the room's builder put it.
    void beginOnElement(const char* levelFile, const char* name)
    {
        begin(levelFile, 0, 0);
        const Element* e = element(name);
        ASSERT_NE(nullptr, e) << levelFile << " has no " << name;
        world.player->setPosition(e->x, e->y);
        world.player->setPosition(e->x, e->y);
    }

    static void runFrames(int n)
    {
        for (int i = 0; i < n; i++) {
            update();
            draw();
        }
    }

    static void key(int type, int symbol)
    {
        SDL_Event e;
        std::memset(&e, 0, sizeof e);
        e.type = Uint8(type);
        e.key.keysym.sym = SDLKey(symbol);
        ASSERT_EQ(SDL_PushEvent(&e), 0);
    }

    // A key pressed for one frame and released in the next.
    static void tap(int symbol)
    {
        key(SDL_KEYDOWN, symbol);
        runFrames(1);
        key(SDL_KEYUP, symbol);
        runFrames(1);
    }

    static const Element* element(const char* name) { return named(world.level->elements, name); }

    char previous[4096];
    char folder[200];
};
