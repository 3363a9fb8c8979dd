#include "assets/TileList.h"
#include "assets/TileContainer.h"

#include "assets/TileFixtures.h"

#include <cstdint>
#include <cstring>
#include <fstream>
#include <functional>
#include <iterator>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

using Bytes = std::vector<unsigned char>;

void expectSameTile(const Tile& a, const Tile& b)
{
    ASSERT_EQ(a.width, b.width);
    ASSERT_EQ(a.height, b.height);
    ASSERT_EQ(a.frameCount, b.frameCount);
    ASSERT_EQ(a.extraCount, b.extraCount);
    for (int i = 0; i < a.extraCount; i++)
        EXPECT_EQ(a.extra[i], b.extra[i]);
    for (int f = 0; f < a.frameCount; f++)
        for (int i = 0; i < a.width * a.height; i++) {
            const TILE_PIXEL &p = a.frames[f].data[i], &q = b.frames[f].data[i];
            ASSERT_EQ(p.colour, q.colour);
            ASSERT_EQ(p.depth, q.depth);
            ASSERT_EQ(p.incandescence, q.incandescence);
        }
}

// Saves the tiles as a container and returns its path.
std::string saveContainer(const char* file, const std::vector<const Tile*>& tiles)
{
    TileContainer container;
    for (const Tile* tile : tiles)
        EXPECT_EQ(container.add(*tile), 1) << container.error;
    std::string path = tempPath(file);
    EXPECT_EQ(container.save(path.c_str()), 1) << container.error;
    return path;
}

Bytes readBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), {});
}

void writeBytes(const std::string& path, const Bytes& bytes)
{
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

void put(Bytes* bytes, size_t at, uint32_t v)
{
    for (int i = 0; i < 4; i++)
        (*bytes)[at + size_t(i)] = (unsigned char)(v >> (8 * i));
}

// Tile `index` of the library, its pixels read as a look-up reads them.
const Tile& found(TileList& library, int index)
{
    return *library.findByName2(library.list[size_t(index)]->name);
}

} // namespace

TEST(TileList, ContainerRoundTrip)
{
    Tile key, coin;
    makeTile(&key, "key.til", 2, 3, 1);
    makeTile(&coin, "gold_coin01.anm", 4, 2, 3, 3);
    coin.frames[2].data[5].incandescence = 0.75f;
    coin.frames[1].data[0].depth = -12;
    std::string path = saveContainer("roundtrip.dat", {&key, &coin});

    TileList library(path.c_str(), true);
    ASSERT_EQ(library.count, 2);
    EXPECT_STREQ(library.list[0]->name, "key.til");
    EXPECT_STREQ(library.list[1]->name, "gold_coin01.anm");
    expectSameTile(found(library, 0), key);
    expectSameTile(found(library, 1), coin);

    // A tile read straight from the container keeps an empty name.
    Tile single;
    ASSERT_EQ(single.load(path.c_str(), "gold_coin01.anm"), 1);
    EXPECT_STREQ(single.name, "");
    expectSameTile(single, coin);
    EXPECT_EQ(single.load(path.c_str(), "gold_coin01"), 0);
    EXPECT_EQ(single.frames, nullptr);
    EXPECT_EQ(single.load("/nonexistent/tiles.dat", "key.til"), 0);

    TileList missing("/nonexistent/tiles.dat", false);
    EXPECT_EQ(missing.count, 0);
    EXPECT_EQ(missing.findByName2("key.til"), nullptr);
}

TEST(TileList, LookUpsByNameFindTheFirstOfDuplicateNames)
{
    Tile first, second, logo;
    makeTile(&first, "twin.til", 2, 2, 1);
    makeTile(&second, "twin.til", 3, 1, 2);
    makeTile(&logo, "logo.til", 1, 1, 1);
    TileList library(saveContainer("names.dat", {&first, &second, &logo}).c_str(), false);
    ASSERT_EQ(library.count, 3);
    EXPECT_EQ(library.findByName2("twin.til"), library.list[0]);
    expectSameTile(*library.list[0], first);
    expectSameTile(*library.list[1], first);
    EXPECT_EQ(library.picturesInMemory(), 1);

    char line[32] = "logo.til\nrest";
    EXPECT_EQ(library.findByName(line), library.list[2]);
    EXPECT_STREQ(line, "logo.til");
    EXPECT_EQ(library.findByName2("TWIN.til"), nullptr);
    EXPECT_EQ(library.findByName2("twin.ti"), nullptr);
    char unterminated[300];
    std::memset(unterminated, 't', sizeof unterminated);
    unterminated[299] = 0;
    EXPECT_EQ(library.findByName(unterminated), nullptr);
}

// Damaged containers: each must load without crashing, keep the whole
// tiles and leave the damaged ones without frames.
TEST(TileList, CorruptContainers)
{
    Tile a, b;
    makeTile(&a, "a.til", 2, 2, 1, 1);
    makeTile(&b, "bb.anm", 3, 2, 2);
    Bytes good = readBytes(saveContainer("good.dat", {&a, &b}));
    // Layout: count, a (4+6+4), bb (4+7+4), block a at 33, block b at 33 + 16 + 4 + 48.
    const size_t entryB = 18, blockA = 33, blockB = 101;
    ASSERT_EQ(good.size(), blockB + 16 + 2 * 6 * 12);

    struct Case {
        const char* what;
        std::function<void(Bytes*)> damage;
        int count;        // tiles in the library
        bool aLoaded, bLoaded;
    };
    const Case cases[] = {
        {"empty file", [](Bytes* d) { d->clear(); }, 0, false, false},
        {"negative count", [](Bytes* d) { put(d, 0, 0xFFFFFFFFu); }, 0, false, false},
        {"zero name length", [](Bytes* d) { put(d, 4, 0); }, 0, false, false},
        {"name length 257", [](Bytes* d) { put(d, 4, 257); }, 0, false, false},
        {"negative name length", [](Bytes* d) { put(d, 4, 0x80000000u); }, 0, false, false},
        {"second name too long", [](Bytes* d) { put(d, entryB, 100000); }, 1, true, false},
        {"offset past the end", [&](Bytes* d) { put(d, entryB + 11, uint32_t(good.size())); }, 2, true, false},
        {"negative offset", [](Bytes* d) { put(d, entryB + 11, 0xFFFFFFF0u); }, 2, true, false},
        {"negative width", [](Bytes* d) { put(d, blockB, 0xFFFFFFFDu); }, 2, true, false},
        {"zero height", [](Bytes* d) { put(d, blockB + 4, 0); }, 2, true, false},
        {"width 5000", [](Bytes* d) { put(d, blockB, 5000); }, 2, true, false},
        {"no frames", [](Bytes* d) { put(d, blockB + 8, 0); }, 2, true, false},
        {"2000 frames", [](Bytes* d) { put(d, blockB + 8, 2000); }, 2, true, false},
        {"huge but allowed sizes", [](Bytes* d) { put(d, blockB, 4096); put(d, blockB + 4, 4096); put(d, blockB + 8, 1024); }, 2, true, false},
        {"negative extra count", [](Bytes* d) { put(d, blockA + 12, 0xFFFFFFFFu); }, 2, false, true},
        {"huge extra count", [](Bytes* d) { put(d, blockA + 12, 0x7FFFFFFFu); }, 2, false, true},
        {"extras running into the next block", [](Bytes* d) { put(d, blockB + 12, 2); }, 2, true, false},
        {"name without its zero byte", [](Bytes* d) { (*d)[13] = 'x'; }, 2, true, true},
    };
    std::string path = tempPath("corrupt.dat");
    for (const Case& c : cases) {
        Bytes bytes = good;
        c.damage(&bytes);
        writeBytes(path, bytes);
        TileList library(path.c_str(), false);
        ASSERT_EQ(library.count, c.count) << c.what;
        if (c.count > 0) {
            EXPECT_EQ(found(library, 0).frames != nullptr, c.aLoaded) << c.what;
        }
        if (c.count > 1) {
            EXPECT_EQ(found(library, 1).frames != nullptr, c.bLoaded) << c.what;
        }
        for (Tile* tile : library.list) {
            if (!tile->frames) {
                EXPECT_EQ(tile->frameCount, 0) << c.what;
            }
        }
    }

    // Every truncation keeps exactly the tiles whose entry and block are whole.
    for (size_t length = 0; length < good.size(); length++) {
        writeBytes(path, Bytes(good.begin(), good.begin() + long(length)));
        TileList library(path.c_str(), false);
        int entries = length >= blockA ? 2 : length >= entryB ? 1 : 0;
        ASSERT_EQ(library.count, entries) << length;
        if (entries > 0 && length >= blockB) {
            ASSERT_NE(found(library, 0).frames, nullptr) << length;
            expectSameTile(*library.list[0], a);
        } else if (entries > 0) {
            EXPECT_EQ(found(library, 0).frames, nullptr) << length;
        }
        if (entries > 1) {
            EXPECT_EQ(found(library, 1).frames, nullptr) << length;
            EXPECT_EQ(library.findByName2("bb.anm"), library.list[1]) << "a cut tile is still found";
        }
    }
}

// Pixels are read when a tile is first found and freed when no user that
// found them needs them; tiles found without a user stay.
TEST(TileList, PicturesLiveWhileAUserNeedsThem)
{
    Tile a, b, c;
    makeTile(&a, "a.til", 2, 2, 1);
    makeTile(&b, "b.til", 3, 2, 2);
    makeTile(&c, "c.til", 1, 4, 1);
    TileList library(saveContainer("users.dat", {&a, &b, &c}).c_str());
    EXPECT_EQ(library.picturesInMemory(), 0);
    for (Tile* tile : library.list)
        EXPECT_EQ(tile->frames, nullptr);

    int first = 0, second = 0;
    library.findByName2("a.til", &first);
    library.findByName2("b.til", &first);
    library.findByName2("b.til", &second);
    library.findByName2("c.til");
    EXPECT_EQ(library.picturesInMemory(), 3);
    library.release(&first);
    EXPECT_EQ(library.list[0]->frames, nullptr);
    expectSameTile(*library.list[1], b);
    library.release(&second);
    library.release(&second);
    EXPECT_EQ(library.list[1]->frames, nullptr);
    EXPECT_EQ(library.picturesInMemory(), 1);
    expectSameTile(*library.list[2], c);
    // Found again, a picture is read again.
    expectSameTile(*library.findByName2("a.til", &first), a);
}

// A small file cannot make the library hold more than the file: entries at
// one offset share one picture, and a block beginning inside another is
// damaged. A picture found damaged late is reported as at start-up.
TEST(TileList, PicturesNeverOutgrowTheFile)
{
    Tile a, b;
    makeTile(&a, "a.til", 8, 8, 2);
    makeTile(&b, "b.til", 4, 4, 1);
    Bytes good = readBytes(saveContainer("shared.dat", {&a, &b}));
    const size_t blockA = 4 + 2 * (4 + 6 + 4), blockB = blockA + 16 + 2 * 64 * 12;
    ASSERT_EQ(good.size(), blockB + 16 + 16 * 12);

    // 1,000 names for one block of two pixels, whose first pixel reads as
    // the header of a one-pixel block, and a name for that inner block.
    Tile x;
    makeTile(&x, "x.til", 1, 2, 1);
    float one;
    const int32_t oneBit = 1;
    std::memcpy(&one, &oneBit, 4);
    x.frames[0].data[0] = TILE_PIXEL{1, 1, one};
    x.frames[0].data[1] = TILE_PIXEL{0, 0, 0.0f};
    Bytes single = readBytes(saveContainer("x.dat", {&x}));
    const int names = 1000;
    Bytes many;
    auto append = [&many](uint32_t v) { many.resize(many.size() + 4); put(&many, many.size() - 4, v); };
    append(names + 1);
    size_t directory = 4 + size_t(names + 1) * (4 + 8 + 4);
    for (int i = 0; i <= names; i++) {
        char name[8] = {};
        boundedFormat(name, sizeof name, "n%04d", i);
        append(8);
        many.insert(many.end(), name, name + 8);
        append(uint32_t(directory + (i < names ? 0 : 16)));
    }
    many.insert(many.end(), single.begin() + 4 + 4 + 6 + 4, single.end());
    std::string path = tempPath("many.dat");
    writeBytes(path, many);
    testing::internal::CaptureStderr();
    TileList library(path.c_str());
    EXPECT_NE(testing::internal::GetCapturedStderr().find("1 of its 1001 pictures are damaged"), std::string::npos);
    for (int i = 0; i < names; i++)
        ASSERT_EQ(found(library, i).frames, library.list[0]->frames);
    expectSameTile(*library.list[0], x);
    EXPECT_EQ(found(library, names).frames, nullptr);
    EXPECT_EQ(library.picturesInMemory(), 1);

    // The file is cut after start-up: the picture read then is damaged.
    path = tempPath("late.dat");
    writeBytes(path, good);
    TileList late(path.c_str());
    writeBytes(path, Bytes(good.begin(), good.begin() + long(blockB)));
    testing::internal::CaptureStderr();
    EXPECT_EQ(late.findByName2("b.til")->frames, nullptr);
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "gloamer: " + path + ": 1 of its 2 pictures are damaged or cut short and are not shown.\n");
    testing::internal::CaptureStderr();
    EXPECT_EQ(late.findByName2("b.til")->frames, nullptr);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "") << "reported once";
    expectSameTile(*late.findByName2("a.til"), a);
}

// A container that yields no pictures, or fewer than it lists, says so at once.
TEST(TileList, AnEmptyOrDamagedDirectoryIsReported)
{
    Tile a;
    makeTile(&a, "a.til", 1, 1, 1);
    Bytes good = readBytes(saveContainer("dir.dat", {&a}));
    Bytes longer = good;
    put(&longer, 0, 7);
    const struct {
        const char* what;
        Bytes bytes;
        const char* said;
    } cases[] = {
        {"an empty file", {}, "holds no pictures"},
        {"random bytes", {0x3a, 0x91, 0xee, 0x07, 0x55, 0x12, 0x00, 0x80, 0x61}, "holds no pictures"},
        {"a directory listing more than it holds", longer, "of its 7 entries; the rest are not shown"},
    };
    std::string path = tempPath("dir.dat");
    for (const auto& c : cases) {
        writeBytes(path, c.bytes);
        testing::internal::CaptureStderr();
        TileList library(path.c_str());
        EXPECT_NE(testing::internal::GetCapturedStderr().find(c.said), std::string::npos) << c.what;
    }
}
