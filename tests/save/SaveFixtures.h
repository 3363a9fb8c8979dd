#pragma once

#include "base/BoundedString.h"
#include "save/SaveState.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>

// The bits of a float, as a slot stores them.
inline std::uint32_t bitsOf(float value)
{
    std::uint32_t bits;
    std::memcpy(&bits, &value, 4);
    return bits;
}

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
    PLAYER_STATE& p = s.player;
    p.x = -120; p.y = 3400; p.oldX = -118; p.oldY = 3399; p.way = 1;
    p.torch = false; p.moving = true; p.run = true; p.crawl = false;
    p.jumping = true; p.jumpReleased = false; p.onLadder = true; p.visible = false;
    p.currentTorch = 1; p.dy = -3.25f; p.life = 4; p.maxLife = 7; p.respawn = 0;
    p.hitted = 7.8000002f; p.coin = 250; p.diamond = 12;
    boundedLevel(s, "./Level/cave07.lvl");
    p.checkpointX = 64; p.checkpointY = 128;
    boundedCopy(p.checkpointLevel, saveStringSize, "./Level/metro3.lvl");
    s.objects = {namedObject("key_cave07"), namedObject("skull01", 0), namedObject("map_cave", 200)};
    s.memories = {memoryOf("./Level/metro2.lvl", 3, 2), memoryOf("./Level/empty.lvl", 0, 0)};
    return s;
}

// A new player's record with flag `i` of the stored order set and the others clear.
inline SAVE_STATE flagsOnly(int i)
{
    SAVE_STATE s;
    PLAYER_STATE& p = s.player;
    bool* flags[8] = {&p.torch, &p.moving, &p.run, &p.crawl, &p.jumping, &p.jumpReleased, &p.onLadder, &p.visible};
    for (int k = 0; k < 8; ++k)
        *flags[k] = k == i;
    return s;
}

inline void expectSameState(const SAVE_STATE& a, const SAVE_STATE& b)
{
    const PLAYER_STATE &p = a.player, &q = b.player;
    EXPECT_EQ(p.x, q.x); EXPECT_EQ(p.y, q.y); EXPECT_EQ(p.oldX, q.oldX); EXPECT_EQ(p.oldY, q.oldY);
    EXPECT_EQ(p.way, q.way);
    EXPECT_EQ(p.torch, q.torch); EXPECT_EQ(p.moving, q.moving); EXPECT_EQ(p.run, q.run);
    EXPECT_EQ(p.crawl, q.crawl); EXPECT_EQ(p.jumping, q.jumping); EXPECT_EQ(p.jumpReleased, q.jumpReleased);
    EXPECT_EQ(p.onLadder, q.onLadder); EXPECT_EQ(p.visible, q.visible);
    EXPECT_EQ(p.currentTorch, q.currentTorch); EXPECT_EQ(p.dy, q.dy);
    EXPECT_EQ(p.life, q.life); EXPECT_EQ(p.maxLife, q.maxLife); EXPECT_EQ(p.respawn, q.respawn);
    EXPECT_EQ(p.hitted, q.hitted); EXPECT_EQ(p.coin, q.coin); EXPECT_EQ(p.diamond, q.diamond);
    EXPECT_STREQ(a.level, b.level);
    EXPECT_EQ(p.checkpointX, q.checkpointX); EXPECT_EQ(p.checkpointY, q.checkpointY);
    EXPECT_STREQ(p.checkpointLevel, q.checkpointLevel);
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
