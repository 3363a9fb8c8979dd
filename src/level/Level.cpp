#include "level/Level.h"

#include "base/BoundedString.h"
#include "base/Log.h"
#include "base/RandomRun.h"
#include "assets/TileList.h"
#include "audio/Sound.h"
#include "level/ElectricBox.h"
#include "level/Element.h"
#include "level/KindLine.h"
#include "level/Light.h"
#include "level/Dog.h"
#include "render/Screen.h"
#include "level/Text.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

// The spreading step counter that every level shares; it runs from 1 to
// the level's cloudSteps and is back at 1 after every full update.
int cloudCounter = 1;

// Calls f(i, j, cell) for every pixel (i, j) of e's picture whose world
// position lies on the map.
template <typename F>
void forEachCell(const Level& level, const Element* e, F f)
{
    int w = 0, h = 0;
    e->getDimensions(&w, &h);
    long long left = (long long)e->x - level.originX;
    long long top = (long long)e->y - level.originY;
    for (int i = 0; i < w; i++) {
        long long mx = left + i;
        if (mx < 0 || mx >= level.mapWidth)
            continue;
        for (int j = 0; j < h; j++) {
            long long my = top + j;
            if (my >= 0 && my < level.mapHeight)
                f(i, j, level.map[mx * level.mapHeight + my]);
        }
    }
}

// Lays colour c over `under` with c's own alpha as its weight. An opaque
// colour gives c and a transparent one `under`, exactly as the blend does.
int compose(int under, int c)
{
    int alpha = Screen::getAlpha(c);
    if (alpha == 255)
        return c;
    if (alpha == 0)
        return under;
    float a = float(alpha) / 255.0f;
    return Screen::colorAdd(Screen::colorMul(under, 1.0f - a), Screen::colorMul(c, a));
}

int halvedGrey(int c)
{
    int m = Screen::colorMul(c, 0.5f);
    Screen::desaturate(&m);
    return m;
}

// halvedGrey of the colour last asked, kept: a room's picture has long runs
// of one colour, and its special layer is mostly one value.
struct HALVED_GREY_MEMO {
    int colour = 0;
    int grey = halvedGrey(0);
    int operator()(int c)
    {
        if (c != colour) {
            colour = c;
            grey = halvedGrey(c);
        }
        return grey;
    }
};

// The bonuses a "random" bonus may become, each as likely.
struct RANDOM_BONUS {
    const char* tile;
    int kind;
    int word;
};
const RANDOM_BONUS randomBonuses[] = {
    {"gold_coin01.anm", Element::BonusGold, BonusWordGold},
    {"diamond01.anm", Element::BonusDiamond, BonusWordDiamond},
    {"eye.til", Element::BonusEye, BonusWordEye},
    {"heart2.til", Element::BonusLife, BonusWordLife},
    {"candle02.til", Element::BonusCandle, BonusWordCandle},
    {"torchlight2.til", Element::BonusElectric, BonusWordElectric},
    {"aceto.til", Element::BonusAceto, BonusWordAceto},
};
const int randomBonusCount = int(sizeof randomBonuses / sizeof randomBonuses[0]);

// Deletes every object of one of the level's lists.
template <typename T>
void deleteAll(const std::vector<T*>& list)
{
    for (T* object : list)
        delete object;
}

} // namespace

Level::Level() = default;

Level::~Level()
{
    // The lighting thread must not go on with a level that is gone.
    lightingWorker().release(this);
    deleteIntro();
    deleteAll(elements);
    // The player's lamp is external: it belongs to the player, not the level.
    for (Light* l : lights)
        if (!l->external)
            delete l;
    deleteAll(actives);
    deleteAll(backgrounds);
    deleteAll(boxes);
    deleteAll(dogs);
    deleteAll(specials);
    deleteAll(doors);
    deleteAll(bonus);
    for (TileList* tiles : tileLibraries)
        tiles->release(this);
}

LevelPixel* Level::cellAt(int wx, int wy) const
{
    long long mx = (long long)wx - originX;
    long long my = (long long)wy - originY;
    if (!map || mx < 0 || my < 0 || mx >= mapWidth || my >= mapHeight)
        return nullptr;
    return &map[mx * mapHeight + my];
}

int Level::getDepth(int wx, int wy) const
{
    const LevelPixel* p = cellAt(wx, wy);
    return p ? p->depth : baseDepth;
}

int Level::getDepthClean(int wx, int wy) const
{
    const LevelPixel* p = cellAt(wx, wy);
    return p ? p->cleanDepth : baseDepth;
}

int Level::getCloud(int wx, int wy) const
{
    const LevelPixel* p = cellAt(wx, wy);
    return p ? p->cloud : baseDepth;
}

float Level::getAngle(int x0, int y0, int x1, int y1)
{
    return float(Screen::getAngle(x0, y0, x1, y1) * 180.0 / 3.1415);
}

const Element* Level::farthestMapElement() const
{
    std::vector<const Element*> placed;
    for (const Element* e : elements)
        if (e->tile && (e->tile->frameCount == 1 || e->kind == Element::Background))
            placed.push_back(e);
    // The element farthest from the median position is the one out of place.
    auto median = [&](int Element::*axis) {
        std::vector<int> values;
        for (const Element* e : placed)
            values.push_back(e->*axis);
        std::size_t middle = (values.size() - 1) / 2;
        std::nth_element(values.begin(), values.begin() + middle, values.end());
        return (long long)values[middle];
    };
    long long mx = median(&Element::x), my = median(&Element::y);
    auto distance = [&](const Element* e) { return std::llabs(e->x - mx) + std::llabs(e->y - my); };
    return *std::max_element(placed.begin(), placed.end(),
                             [&](const Element* a, const Element* b) { return distance(a) < distance(b); });
}

int Level::allocateMap(int width, int height)
{
    std::size_t cells = std::size_t(width) * std::size_t(height);
    // Light records must read as dark where no pass of this room wrote them.
    map = mapCells.resize(cells);
    light[0] = map ? lightRecords.resizeZeroed(2 * cells) : nullptr;
    light[1] = light[0] ? light[0] + cells : nullptr;
    if (!light[0]) {
        mapCells.release();
        lightRecords.release();
        map = nullptr;
        mapWidth = mapHeight = 0;
        return 0;
    }
    mapWidth = width;
    mapHeight = height;
    return 1;
}

int Level::compile()
{
    // Bounds of the static picture; the running extremes start at +-10000.
    long long minX = 10000, minY = 10000, maxX = -10000, maxY = -10000;
    bool bounded = false;
    for (const Element* e : elements) {
        if (!e->tile || (e->tile->frameCount != 1 && e->kind != Element::Background))
            continue;
        bounded = true;
        minX = std::min<long long>(minX, e->x);
        minY = std::min<long long>(minY, e->y);
        maxX = std::max<long long>(maxX, (long long)e->x + e->tile->width);
        maxY = std::max<long long>(maxY, (long long)e->y + e->tile->height);
    }
    if (!bounded) {
        logPrint("compile: no single-frame element, the level has no map\n");
        boundedCopy(mapProblem, sizeof mapProblem, "no single-frame element to build the level map from");
        return 0;
    }
    long long width = maxX - minX + 2, height = maxY - minY + 2;
    if (width > maxMapSide || height > maxMapSide || width * height > maxMapCells) {
        logPrint("compile: the level map would be too large\n");
        const Element* far = farthestMapElement();
        boundedFormat(mapProblem, sizeof mapProblem,
                      "the level map would be %lld x %lld pixels (at most %d a side and %lld cells): "
                      "element \"%s\" at (%d, %d) stretches it",
                      width, height, maxMapSide, maxMapCells, far->name, far->x, far->y);
        return 0;
    }
    if (!allocateMap(int(width), int(height))) {
        logPrint("compile: no memory for the level map\n");
        return 0;
    }
    originX = int(minX - 1);
    originY = int(minY - 1);

    if (water) {
        waterLevel = mapHeight;
        if (mapHeight < waterLimit)
            waterLimit = 0;
        if (waterMode != 0)
            waterLevel = waterTop;
    }

    LevelPixel blank{};
    blank.colour = baseColor;
    blank.depth = blank.cleanDepth = baseDepth;
    blank.specialMemoryColour = reveal ? 1 : 0;
    blank.quality = reveal ? 1.0f : 0.0f;
    std::fill(map, map + width * height, blank);

    for (const Element* e : backgrounds)
        forEachCell(*this, e, [](int, int, LevelPixel& p) { p.depth = p.cleanDepth = 0; });
    for (const Element* e : specials)
        forEachCell(*this, e, [e](int i, int j, LevelPixel& p) {
            p.specialMemoryColour = compose(p.specialMemoryColour, e->getColor(i, j));
        });

    for (const Element* e : elements) {
        if (e->kind == Element::Phospho)
            forEachCell(*this, e, [e](int i, int j, LevelPixel& p) { p.glow = e->getColor(i, j) & 0x00FFFFFF; });
        else if (e->tile && e->tile->frameCount == 1)
            bakeElement(e);
        compileKindLine(e);
    }

    HALVED_GREY_MEMO memoryOf, specialMemoryOf;
    for (long long c = 0; c < width * height; c++) {
        map[c].memoryColour = memoryOf(map[c].colour);
        map[c].specialMemoryColour = specialMemoryOf(map[c].specialMemoryColour);
    }
    front = 0;
    if (dirt)
        addDirt();
    if (noise)
        addNoise();
    return 1;
}

void Level::bakeElement(const Element* e)
{
    // A "graph" element is only painted: the room's shape under it stays.
    bool shaped = !readKindLine(e->text).whole(KindGraph);
    // Each pixel record is looked up once: a baked element has one frame.
    const Tile* t = e->tile;
    const int elementDepth = e->depth;
    forEachCell(*this, e, [t, elementDepth, shaped](int i, int j, LevelPixel& p) {
        const TILE_PIXEL* pixel = t->pixelAt(0, i, j);
        int c = pixel ? pixel->colour : 0;
        p.colour = compose(p.colour, c);
        if (shaped && float(Screen::getAlpha(c)) / 255.0f > 0.5f) {
            p.depth = p.cleanDepth = elementDepth + (pixel ? pixel->depth : 0);
            p.incandescence = pixel ? pixel->incandescence : 0.0f;
        }
    });
}

void Level::compileKindLine(const Element* e)
{
    KIND_LINE k = readKindLine(e->text);
    const KIND_ARGUMENT* a = k.arguments;
    switch (k.kind) {
    case KindDoor:
    case KindLockedKeyDoor:
        compileDoor(e, k);
        break;
    case KindCloud:
        compileCloud(e, k);
        break;
    case KindLightAmbient:
    case KindLightOmni:
    case KindLightSpot:
    case KindLightDirectional:
    case KindLightFire: {
        Light* l = new Light;
        if (k.kind == KindLightAmbient)
            l->createAmbient(int(a[0].colour), a[1].real);
        else if (k.kind == KindLightOmni)
            l->createOmni(int(a[0].colour), a[1].real, e->x + a[2].number, e->y + a[3].number, a[4].number, false);
        else if (k.kind == KindLightSpot)
            l->createSpot(int(a[0].colour), a[1].real, e->x + a[2].number, e->y + a[3].number, a[4].number, false,
                          a[5].number, a[6].number);
        else if (k.kind == KindLightDirectional)
            l->createDirectional(int(a[0].colour), a[1].real, a[2].number, a[3].number);
        else
            l->createFire(e->x, e->y);
        boundedCopy(l->name, sizeof l->name, e->name);
        lights.push_back(l);
        break;
    }
    default:
        break;
    }
}

void Level::compileDoor(const Element* e, const KIND_LINE& k)
{
    DOOR* d = new DOOR();
    d->x = e->x;
    d->y = e->y;
    e->getDimensions(&d->width, &d->height);
    d->tile = e->tile;
    boundedCopy(d->destination, sizeof d->destination, k.arguments[0].word);
    boundedCopy(d->target, sizeof d->target, k.arguments[1].word);
    if (k.kind == KindLockedKeyDoor) {
        d->locked = 1;
        d->key = k.arguments[2].number;
    }
    doors.push_back(d);
}

void Level::compileCloud(const Element* e, const KIND_LINE& k)
{
    if (k.read >= 1)
        cloudSteps = k.arguments[0].number;
    int w = 0, h = 0;
    e->getDimensions(&w, &h);
    LevelPixel* p = cellAt(int((long long)e->x + w / 2), int((long long)e->y + h / 2));
    if (p)
        p->cloud = 10;
    hasCloud = true;
}

void Level::addDirt()
{
    if (!map)
        return;
    RandomRun random;
    for (int mx = 0; mx < mapWidth; mx++) {
        // The weight of the cell above, 0 on the first row.
        float weight = 0.0f;
        for (int my = 1; my < mapHeight; my++) {
            LevelPixel& p = map[std::size_t(mx) * mapHeight + my];
            int above = (&p)[-1].depth;
            if (p.depth < above)
                weight = 2.0f * float(random.next() % 101) / 100.0f;
            else if (p.depth == above)
                weight = (float(random.next() % 101) / 100.0f * 0.3f + 0.7f) * weight;
            else
                weight = 0.0f;
            // A weight of 0 would scale the colour by exactly 1.
            if (weight != 0.0f)
                p.colour = Screen::colorMul_exA(p.colour, 1.0f - weight * 0.1f);
        }
    }
}

void Level::addNoise()
{
    if (!map)
        return;
    RandomRun random;
    std::size_t cells = std::size_t(mapWidth) * mapHeight;
    for (std::size_t c = 0; c < cells; c++)
        map[c].colour = Screen::colorMul_exA(map[c].colour, 1.0f - float(random.next() % 101) / 100.0f * 0.07f);
}

TileList* Level::useTiles(TileList* tiles)
{
    if (std::find(tileLibraries.begin(), tileLibraries.end(), tiles) == tileLibraries.end())
        tileLibraries.push_back(tiles);
    return tiles;
}

void Level::createRandomBonus(Element* e, TileList* tiles)
{
    const RANDOM_BONUS& b = randomBonuses[std::rand() % randomBonusCount];
    e->tile = tiles ? useTiles(tiles)->findByName2(b.tile, this) : nullptr;
    e->kind = b.kind;
    boundedCopy(e->text, sizeof e->text, bonusWordName(b.word));
}

void Level::cloudStep()
{
    // Spread: each cloudy cell keeps its density and hands one less to its
    // open neighbours; later cells of the scan overwrite earlier ones.
    for (int mx = 0; mx < mapWidth; mx++)
        for (int my = 0; my < mapHeight; my++) {
            LevelPixel& p = map[std::size_t(mx) * mapHeight + my];
            int c = p.cloud;
            if (c <= 1)
                continue;
            p.cloudNext = c;
            const int neighbours[4][2] = {{mx - 1, my}, {mx, my - 1}, {mx + 1, my}, {mx, my + 1}};
            for (const auto& n : neighbours) {
                if (n[0] < 0 || n[1] < 0 || n[0] >= mapWidth || n[1] >= mapHeight)
                    continue;
                LevelPixel& q = map[std::size_t(n[0]) * mapHeight + n[1]];
                if (q.depth <= 9)
                    q.cloudNext = c - 1;
            }
        }
    // Thin edges now and then thicken again, then the new densities apply.
    std::size_t cells = std::size_t(mapWidth) * mapHeight;
    for (std::size_t c = 0; c < cells; c++) {
        if (map[c].cloudNext == 1 && std::rand() % 10 == 0)
            map[c].cloudNext = 10;
        map[c].cloud = map[c].cloudNext;
    }
}

void Level::computeCloud()
{
    if (!hasCloud || !map)
        return;
    // A level's own count of steps, bounded so that one update stays short.
    int steps = std::min(cloudSteps, maxCloudSteps);
    do {
        cloudCounter++;
        if (cloudCounter > steps)
            cloudCounter = 1;
        cloudStep();
    } while (cloudCounter > 1);
}

void Level::computeFill(int tick)
{
    if (!water)
        return;
    int old = waterLevel;
    bool even = tick % 2 == 0;
    if (even) {
        if (waterMode == 0) {
            if (waterLevel > 0 && waterLevel >= waterLimit)
                waterLevel--;
        } else if (waterMode == 1) {
            waterLevel--;
        } else if (waterMode == 2) {
            waterLevel++;
        }
    }
    if (waterMode != 0) {
        if (waterLevel > waterLimit)
            waterLevel = waterLimit;
        if (waterLevel < waterTop)
            waterLevel = waterTop;
    }
    if (even) {
        if (waterLevel != old)
            playLoop(waterFillSlot);
        else
            stopSound(waterFillSlot);
    }
    waterFrame++;
}

void Level::deleteIntro()
{
    delete message;
    message = nullptr;
}

Typo* Level::getTypo() const
{
    return message ? message->getTypo() : nullptr;
}
