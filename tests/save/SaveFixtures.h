#pragma once

#include "base/BoundedString.h"
#include "save/SaveState.h"

#include <gtest/gtest.h>

inline SAVE_OBJECT namedObject(const char* name, std::uint8_t flag = 1)
{
    SAVE_OBJECT object;
    boundedCopy(object.name, saveStringSize, name);
    object.flag = flag;
    return object;
}

inline void boundedLevel(SAVE_STATE& s, const char* level) { boundedCopy(s.level, saveStringSize, level); }

// A memory whose words differ from cell to cell and between the arrays.
inline SHARED_MEMORY memoryOf(const char* name, int w, int h)
{
    auto memory = std::make_shared<SAVE_MEMORY>();
    boundedCopy(memory->name, saveStringSize, name);
    memory->w = w;
    memory->h = h;
    for (int i = 0; i < w * h; ++i) {
        memory->quality.push_back(0x3F000000u + (std::uint32_t)i);
        memory->glow.push_back(0xFF000000u - (std::uint32_t)i * 0x10101u);
    }
    return memory;
}

// Every field away from its default, flags mixed, awkward float bits.
inline SAVE_STATE richState()
{
    SAVE_STATE s;
    s.x = -120; s.y = 3400; s.oldX = -118; s.oldY = 3399; s.way = 1;
    s.torch = false; s.moving = true; s.run = true; s.crawl = false;
    s.jumping = true; s.jumpReleased = false; s.onLadder = true; s.visible = false;
    s.currentTorch = 1; s.dy = -3.25f; s.life = 4; s.maxLife = 7; s.respawn = 0;
    s.hitted = 7.8000002f; s.coin = 250; s.diamond = 12;
    boundedLevel(s, "./Level/cave07.lvl");
    s.checkpointX = 64; s.checkpointY = 128;
    boundedCopy(s.checkpointLevel, saveStringSize, "./Level/metro3.lvl");
    s.objects = {namedObject("key_cave07"), namedObject("skull01", 0), namedObject("map_cave", 200)};
    s.memories = {memoryOf("./Level/metro2.lvl", 3, 2), memoryOf("./Level/empty.lvl", 0, 0)};
    return s;
}

// A new player's record with flag `i` of the stored order set and the others clear.
inline SAVE_STATE flagsOnly(int i)
{
    SAVE_STATE s;
    bool* flags[8] = {&s.torch, &s.moving, &s.run, &s.crawl, &s.jumping, &s.jumpReleased, &s.onLadder, &s.visible};
    for (int k = 0; k < 8; ++k)
        *flags[k] = k == i;
    return s;
}

inline void expectSameState(const SAVE_STATE& a, const SAVE_STATE& b)
{
    EXPECT_EQ(a.x, b.x); EXPECT_EQ(a.y, b.y); EXPECT_EQ(a.oldX, b.oldX); EXPECT_EQ(a.oldY, b.oldY);
    EXPECT_EQ(a.way, b.way);
    EXPECT_EQ(a.torch, b.torch); EXPECT_EQ(a.moving, b.moving); EXPECT_EQ(a.run, b.run);
    EXPECT_EQ(a.crawl, b.crawl); EXPECT_EQ(a.jumping, b.jumping); EXPECT_EQ(a.jumpReleased, b.jumpReleased);
    EXPECT_EQ(a.onLadder, b.onLadder); EXPECT_EQ(a.visible, b.visible);
    EXPECT_EQ(a.currentTorch, b.currentTorch); EXPECT_EQ(a.dy, b.dy);
    EXPECT_EQ(a.life, b.life); EXPECT_EQ(a.maxLife, b.maxLife); EXPECT_EQ(a.respawn, b.respawn);
    EXPECT_EQ(a.hitted, b.hitted); EXPECT_EQ(a.coin, b.coin); EXPECT_EQ(a.diamond, b.diamond);
    EXPECT_STREQ(a.level, b.level);
    EXPECT_EQ(a.checkpointX, b.checkpointX); EXPECT_EQ(a.checkpointY, b.checkpointY);
    EXPECT_STREQ(a.checkpointLevel, b.checkpointLevel);
    ASSERT_EQ(a.objects.size(), b.objects.size());
    for (std::size_t i = 0; i < a.objects.size(); ++i) {
        EXPECT_STREQ(a.objects[i].name, b.objects[i].name);
        EXPECT_EQ(a.objects[i].flag, b.objects[i].flag);
    }
    ASSERT_EQ(a.memories.size(), b.memories.size());
    for (std::size_t i = 0; i < a.memories.size(); ++i) {
        EXPECT_STREQ(a.memories[i]->name, b.memories[i]->name);
        EXPECT_EQ(a.memories[i]->w, b.memories[i]->w);
        EXPECT_EQ(a.memories[i]->h, b.memories[i]->h);
        EXPECT_EQ(a.memories[i]->quality.unpacked(), b.memories[i]->quality.unpacked());
        EXPECT_EQ(a.memories[i]->glow.unpacked(), b.memories[i]->glow.unpacked());
    }
}
