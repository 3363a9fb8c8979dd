// The slot record's binary and text forms: what they keep, where the fixed
// fields lie, and which damaged inputs they refuse without touching the
// record they were to fill.
#include "save/SaveFixtures.h"
#include "save/SaveState.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>

namespace {

std::vector<unsigned char> le(std::initializer_list<std::uint32_t> words)
{
    std::vector<unsigned char> bytes;
    for (std::uint32_t w : words)
        for (int shift = 0; shift < 32; shift += 8)
            bytes.push_back((unsigned char)(w >> shift));
    return bytes;
}

void patch(std::vector<unsigned char>& bytes, std::size_t offset, std::uint32_t word)
{
    std::vector<unsigned char> w = le({word});
    std::copy(w.begin(), w.end(), bytes.begin() + (long)offset);
}

bool refusedUnchanged(const std::vector<unsigned char>& bytes)
{
    SAVE_STATE target = richState();
    std::vector<unsigned char> before = encodeSaveState(target);
    int result = decodeSaveState(bytes.data(), bytes.size(), target);
    return result == 0 && encodeSaveState(target) == before;
}

} // namespace

// A whole record's round trip is PackedMemoriesKeepEveryWord's.
TEST(SaveState, EachFlagAloneSurvivesTheBinaryForm)
{
    // No window overwrites a flag with a neighbour.
    for (int i = 0; i < 8; ++i) {
        SAVE_STATE one = flagsOnly(i);
        std::vector<unsigned char> b = encodeSaveState(one);
        SAVE_STATE back = richState();
        ASSERT_EQ(decodeSaveState(b.data(), b.size(), back), 1);
        expectSameState(back, one);
    }
}

// Memories are kept packed, runs of one word together: whatever mix of runs
// and different words, pushed or appended, comes back word for word, through
// the slot bytes too, and the bytes written to a file as they are made are
// the same bytes.
TEST(SaveState, PackedMemoriesKeepEveryWord)
{
    unsigned seed = 12345;
    auto next = [&](unsigned n) {
        seed = seed * 1103515245u + 12345u;
        return (seed >> 16) % n;
    };
    SAVE_STATE s = richState();
    for (int trial = 0; trial < 200; ++trial) {
        auto memory = std::make_shared<SAVE_MEMORY>();
        std::vector<std::uint32_t> words;
        while (words.size() < 40) {
            // Three different words, some pushed one by one, some appended as runs.
            std::uint32_t word = next(3), count = next(4) == 0 ? next(5) : 1;
            words.insert(words.end(), count, word);
            if (count == 1)
                memory->quality.push_back(word);
            else
                memory->quality.append(word, count);
        }
        ASSERT_EQ(memory->quality.unpacked(), words) << trial;
        memory->w = int(words.size());
        memory->h = 1;
        for (std::uint32_t word : words)
            memory->glow.push_back(~word);
        s.memories.push_back(memory);
    }
    std::vector<unsigned char> bytes = encodeSaveState(s);
    EXPECT_EQ(encodedSize(s), bytes.size());
    SAVE_STATE read;
    ASSERT_EQ(decodeSaveState(bytes.data(), bytes.size(), read), 1);
    expectSameState(read, s);

    std::FILE* file = std::tmpfile();
    ASSERT_TRUE(file && writeSaveState(file, s, "./Level/other.lvl"));
    std::vector<unsigned char> streamed(std::size_t(std::ftell(file)));
    std::rewind(file);
    ASSERT_EQ(std::fread(streamed.data(), 1, streamed.size(), file), streamed.size());
    std::fclose(file);
    EXPECT_EQ(streamed, encodeSaveState(s, "./Level/other.lvl"));
}

// Reading only: what the game writes is held by TheSlotOfAFixedStateKeepsItsBytes.
TEST(SaveState, FixedFieldsLieAtTheirOffsetsAndLaterWindowsWin)
{
    // Written here word by word: x y oldX oldY way, window 1, torch kind,
    // windows 2 3 4, dy, life maxLife respawn, hitted, coin diamond, level.
    std::vector<unsigned char> bytes = le({11, 22, 33, 44, 1, 0x00000001u, 2, 0x00000101u, 0x00000001u,
                                           0x01000100u, bitsOf(-2.5f), 5, 6, 2, bitsOf(7.5f), 123, 9, 3});
    bytes.insert(bytes.end(), {'a', 'b', 'c'});
    std::vector<unsigned char> rest = le({40, 50, 0, 0, 0});
    bytes.insert(bytes.end(), rest.begin(), rest.end());
    ASSERT_EQ(bytes[44], 5);
    ASSERT_EQ(bytes[68], 3);

    SAVE_STATE s;
    ASSERT_EQ(decodeSaveState(bytes.data(), bytes.size(), s), 1);
    const PLAYER_STATE& p = s.player;
    EXPECT_EQ(p.x, 11); EXPECT_EQ(p.y, 22); EXPECT_EQ(p.oldX, 33); EXPECT_EQ(p.oldY, 44);
    EXPECT_EQ(p.way, 1);
    EXPECT_EQ(p.currentTorch, 2);
    // torch from window 1; moving, run from 2; crawl from 3; the rest from 4.
    EXPECT_TRUE(p.torch); EXPECT_TRUE(p.moving); EXPECT_TRUE(p.run); EXPECT_TRUE(p.crawl);
    EXPECT_FALSE(p.jumping); EXPECT_TRUE(p.jumpReleased); EXPECT_FALSE(p.onLadder); EXPECT_TRUE(p.visible);
    EXPECT_EQ(p.dy, -2.5f);
    EXPECT_EQ(p.life, 5); EXPECT_EQ(p.maxLife, 6); EXPECT_EQ(p.respawn, 2);
    EXPECT_EQ(p.hitted, 7.5f);
    EXPECT_EQ(p.coin, 123); EXPECT_EQ(p.diamond, 9);
    EXPECT_STREQ(s.level, "abc");
    EXPECT_EQ(p.checkpointX, 40); EXPECT_EQ(p.checkpointY, 50);
    EXPECT_STREQ(p.checkpointLevel, "");
}

TEST(SaveState, KeysAndMapsAreKnownByTheirNames)
{
    SAVE_STATE s;
    for (const char* name : {"key_metro3", "keymap", "Key_cave", "map_cave", "skull01", "xkey"})
        s.objects.push_back(namedObject(name));
    EXPECT_EQ(keyCount(s), 2);
    EXPECT_TRUE(revealsMap(s));
    s.objects.erase(s.objects.begin() + 3);
    EXPECT_FALSE(revealsMap(s));
}

TEST(SaveState, CutOrExtendedSlotsAreRefusedAtEveryLength)
{
    std::vector<unsigned char> bytes = encodeSaveState(richState());
    for (std::size_t n = 0; n < bytes.size(); ++n)
        ASSERT_TRUE(refusedUnchanged(std::vector<unsigned char>(bytes.begin(), bytes.begin() + (long)n))) << n;
    ASSERT_FALSE(refusedUnchanged(bytes));
    bytes.push_back(0);
    EXPECT_TRUE(refusedUnchanged(bytes));
}

TEST(SaveState, DamagedSlotsAreRefusedWithTheRecordUnchanged)
{
    // Level "L" and checkpoint "C": the object count lies at 86, then one
    // object "key_a" and one memory "m" of 2 x 1 cells.
    SAVE_STATE s;
    boundedLevel(s, "L");
    s.player.checkpointLevel[0] = 'C';
    s.player.checkpointLevel[1] = 0;
    s.objects.push_back(namedObject("key_a"));
    s.memories.push_back(memoryOf("m", 2, 1));
    const std::vector<unsigned char> good = encodeSaveState(s);
    ASSERT_EQ(good.size(), 136u);
    ASSERT_FALSE(refusedUnchanged(good));
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    struct DAMAGE {
        const char* what;
        std::size_t offset;
        std::uint32_t word;
    } damages[] = {
        {"x far outside any room", 0, 2000000000u},
        {"NaN speed", 40, bitsOf(nan)},
        {"infinite hurt timer", 56, bitsOf(inf)},
        {"negative level length", 68, 0xFFFFFFFFu},
        {"level length over 255", 68, 256},
        {"level length past the end", 68, 100000},
        {"huge object count", 86, 0x7FFFFFFFu},
        {"negative object count", 86, 0x80000000u},
        {"more objects than bytes", 86, 9},
        {"huge memory count", 103, 50000},
        {"memory wider than a level", 112, 8193},
        {"memory size overflowing 32 bits", 116, 0x40000000u},
        {"memory larger than the file", 116, 2},
        {"negative memory height", 116, 0xFFFFFFFEu},
    };
    for (const DAMAGE& d : damages) {
        std::vector<unsigned char> bytes = good;
        patch(bytes, d.offset, d.word);
        EXPECT_TRUE(refusedUnchanged(bytes)) << d.what;
    }
    for (const char* away : {"/dev/zero", "./Level/../../../../etc/passwd", ".."}) {
        SAVE_STATE room = s, checkpoint = s;
        boundedLevel(room, away);
        boundedCopy(checkpoint.player.checkpointLevel, saveStringSize, away);
        EXPECT_TRUE(refusedUnchanged(encodeSaveState(room))) << away;
        EXPECT_TRUE(refusedUnchanged(encodeSaveState(checkpoint))) << away;
    }
    std::vector<unsigned char> zero = good;
    zero[95] = 0;  // a zero byte inside the object's name
    EXPECT_TRUE(refusedUnchanged(zero));
}

TEST(SaveState, GameTextHoldsItsFixedLinesInOrderAndEndsWithEnd)
{
    SAVE_STATE s;
    PLAYER_STATE& p = s.player;
    p.x = 5; p.y = -6; p.oldX = 7; p.oldY = 8; p.way = 1; p.torch = false; p.currentTorch = 2;
    p.moving = true; p.jumping = true; p.dy = -4.5f; p.life = 2; p.hitted = 0.25f; p.coin = 100; p.diamond = 4;
    boundedLevel(s, "./Level/metro3.lvl");
    s.objects.push_back(namedObject("key_x"));
    s.memories.push_back(memoryOf("./Level/metro2.lvl", 1, 1));
    const std::string text = formatSaveText(s, SaveText::game);
    EXPECT_EQ(text,
              "PLAYER_POSITION 5 -6\nPLAYER_OLD_POSITION 7 8\nPLAYER_WAY 1\nPLAYER_TORCH 0\n"
              "PLAYER_CURRENT_TORCH 2\nPLAYER_MOVING 1\nPLAYER_CRAWL 0\nPLAYER_JUMPING 1\n"
              "PLAYER_DY -4.500000\nPLAYER_LIFE 2\nPLAYER_MAX_LIFE 6\nPLAYER_RESPAWN 3\n"
              "PLAYER_HITTED 0.250000\nPLAYER_COIN 100\nPLAYER_DIAMOND 4\nPLAYER_LEVEL ./Level/metro3.lvl\n"
              "PLAYER_N_OBJECTS 1\nPLAYER_OBJECT key_x 1\nEND");

    // Read over another record: what the text lacks stays, objects are replaced.
    SAVE_STATE target = richState();
    SAVE_STATE before = target;
    ASSERT_EQ(parseSaveText(text.data(), text.size(), target), 1);
    EXPECT_EQ(target.player.x, 5); EXPECT_EQ(target.player.dy, -4.5f); EXPECT_FALSE(target.player.torch);
    EXPECT_STREQ(target.level, "./Level/metro3.lvl");
    ASSERT_EQ(target.objects.size(), 1u);
    EXPECT_STREQ(target.objects[0].name, "key_x");
    EXPECT_EQ(target.player.run, before.player.run); EXPECT_EQ(target.player.visible, before.player.visible);
    EXPECT_EQ(target.player.checkpointX, before.player.checkpointX);
    EXPECT_EQ(target.memories.size(), before.memories.size());

    // The lines of the complete form are not the game's: it passes over them.
    const std::string complete = formatSaveText(richState(), SaveText::complete);
    SAVE_STATE plain;
    ASSERT_EQ(parseSaveText(complete.data(), complete.size(), plain, SaveText::game), 1);
    const SAVE_STATE fresh;
    EXPECT_EQ(plain.player.run, fresh.player.run); EXPECT_EQ(plain.player.visible, fresh.player.visible);
    EXPECT_EQ(plain.player.checkpointX, fresh.player.checkpointX);
    EXPECT_STREQ(plain.player.checkpointLevel, fresh.player.checkpointLevel);
    EXPECT_TRUE(plain.memories.empty());
    EXPECT_EQ(plain.player.coin, richState().player.coin) << "its own lines are read";
}

// The complete form's round trip is Savetool.DumpAndPackGiveTheSameSlotBack's.
TEST(SaveState, CompleteTextRoundTripsAndBadTextIsRefused)
{
    SAVE_STATE original = richState();
    std::string text = formatSaveText(original, SaveText::complete);
    SAVE_STATE read;
    ASSERT_EQ(parseSaveText(text.data(), text.size(), read, SaveText::complete), 1);
    expectSameState(read, original);

    // A misspelt key is ignored by the game and refused in a text a person wrote.
    const char typo[] = "PLAYER_POSITON 1 2\nEND";
    EXPECT_EQ(parseSaveText(typo, sizeof typo - 1, read, SaveText::game), 1);
    EXPECT_EQ(parseSaveText(typo, sizeof typo - 1, read, SaveText::complete), 0);

    for (const char* bad : {"PLAYER_LIFE abc\n", "PLAYER_POSITION 1\n", "PLAYER_POSITION 1 99999999999\n",
                            "PLAYER_DY nan\n", "PLAYER_OBJECT key 300\n", "PLAYER_MEMORY 2 1 m\nQUALITY 1 2\nEND",
                            "PLAYER_MEMORY 1 1 m\nQUALITY 1\nGLOW 1 2\n", "PLAYER_MEMORY 9000 1 m\n"}) {
        SAVE_STATE target = richState();
        std::vector<unsigned char> before = encodeSaveState(target);
        EXPECT_EQ(parseSaveText(bad, std::strlen(bad), target, SaveText::complete), 0) << bad;
        EXPECT_EQ(encodeSaveState(target), before) << bad;
    }
}
