// Cost of one lighting pass, single-threaded, over the view of a 1920 x 1080
// and a 3840 x 2160 desktop (480 x 270 and 960 x 540 logical pixels, plus
// the 30-pixel margin) in a cave room lit by the carried lamp and eight
// other lights. The plain pass of the tests is timed beside it.
#include "assets/Tile.h"
#include "level/Element.h"
#include "level/Level.h"
#include "level/Light.h"
#include "level/LightingReference.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <memory>
#include <vector>

namespace {

const int roomWidth = 1100;
const int roomHeight = 640;

// A 1100 x 640 cave: open space of depths 2 to 6 in patches, rock (depth 10)
// along the floor, the ceiling and the walls and in scattered boulders,
// pillars of depth 7 and ledges of depth 8, a few glowing pixels.
struct Cave {
    Cave()
    {
        std::srand(7);
        level.reset(new Level);
        for (int x = 0; x < roomWidth; x += 50)
            for (int y = 0; y < roomHeight; y += 40) {
                Tile* t = newTile(50, 40);
                int depth = 2 + std::rand() % 5;
                for (int i = 0; i < 50 * 40; i++) {
                    if (std::rand() % 40 == 0)
                        depth = 2 + std::rand() % 5;
                    t->frames[0].data[i] = TILE_PIXEL{int(0xFF000000u | unsigned(std::rand() & 0x3F3F3F)), depth,
                                                      std::rand() % 500 == 0 ? 0.6f : 0.0f};
                }
                placeTile(t, x, y);
            }
        // Rock: floor, ceiling, walls and boulders.
        placeTile(uniformTile(roomWidth, 24, 10), 0, 0);
        placeTile(uniformTile(roomWidth, 40, 10), 0, roomHeight - 40);
        placeTile(uniformTile(24, roomHeight, 10), 0, 0);
        placeTile(uniformTile(24, roomHeight, 10), roomWidth - 24, 0);
        for (int k = 0; k < 12; k++)
            placeTile(uniformTile(20 + std::rand() % 40, 15 + std::rand() % 30, 10), 60 + std::rand() % 950,
                      60 + std::rand() % 500);
        // Pillars and ledges.
        for (int x = 100; x < roomWidth - 60; x += 140)
            placeTile(uniformTile(16, 300, 7), x, roomHeight - 340);
        for (int k = 0; k < 8; k++)
            placeTile(uniformTile(90, 8, 8), 80 + k * 120, 150 + (k % 3) * 110);
        level->compile();

        // The carried acetylene lamp and eight lights of the room.
        lamp.setStyle(Light::StyleAceto);
        lamp.x = 540;
        lamp.y = 315;
        lamp.external = true;
        level->addLight(&lamp);
        const int omni[4][2] = {{400, 250}, {680, 250}, {400, 400}, {680, 400}};
        for (const auto& p : omni)
            addLight()->createOmni(int(0xFFFFCC88u), 0.8f, p[0], p[1], 80, true);
        addLight()->createSpot(int(0xFFCCDDFFu), 1.0f, 350, 200, 100, true, 60, 45);
        addLight()->createSpot(int(0xFFCCDDFFu), 1.0f, 730, 200, 100, false, 60, 135);
        addLight()->createDirectional(int(0xFF202840u), 0.6f, 1, 1);
        addLight()->createAmbient(int(0xFF101010u), 0.5f);
    }
    Tile* newTile(int width, int height)
    {
        tiles.emplace_back(new Tile);
        tiles.back()->create(width, height, 1, 0);
        return tiles.back().get();
    }
    Tile* uniformTile(int width, int height, int depth)
    {
        Tile* t = newTile(width, height);
        for (int i = 0; i < width * height; i++)
            t->frames[0].data[i] = TILE_PIXEL{int(0xFF303030u), depth, 0.0f};
        return t;
    }
    void placeTile(Tile* t, int x, int y)
    {
        Element* e = new Element(t);
        e->x = x;
        e->y = y;
        level->elements.push_back(e);
    }
    Light* addLight()
    {
        Light* l = new Light;
        level->addLight(l);
        return l;
    }
    std::vector<std::unique_ptr<Tile>> tiles;
    Light lamp;
    std::unique_ptr<Level> level;
};

// The camera offset that puts the view's top-left corner at world (left, top).
void viewFor(int desktopWidth, int desktopHeight, int* x, int* y, int* w, int* h)
{
    *w = desktopWidth / 4;
    *h = desktopHeight / 4;
    // Centre the view on the lamp as far as the room allows.
    int left = std::max(30, std::min(540 - *w / 2, roomWidth - 30 - *w));
    int top = std::max(30, std::min(315 - *h / 2, roomHeight - 30 - *h));
    *x = -left;
    *y = -top;
}

// The cave and scratch memory of one desktop size, kept for the whole run
// as the lighting thread keeps its scratch: a pass is timed after the
// passes before it, not as the first pass into fresh memory.
struct Scene {
    Scene(int desktopWidth, int desktopHeight)
    {
        viewFor(desktopWidth, desktopHeight, &x, &y, &w, &h);
        pass();
    }
    void pass() { cave.level->computeLighting(x, y, w, h, 30, scratch); }
    Cave cave;
    LIGHTING_SCRATCH scratch;
    int x, y, w, h;
};

Scene& sceneFor(const benchmark::State& state)
{
    static std::unique_ptr<Scene> scenes[2];
    std::unique_ptr<Scene>& scene = scenes[state.range(0) > 1920 ? 1 : 0];
    if (!scene)
        scene.reset(new Scene(int(state.range(0)), int(state.range(1))));
    return *scene;
}

// Lights that stand still: every shading is kept from the pass before, and
// only the cells the flickering lamp reaches are lit anew.
void BM_LightingPass(benchmark::State& state)
{
    Scene& scene = sceneFor(state);
    scene.cave.lamp.x = 540;
    for (auto _ : state)
        scene.pass();
    state.counters["cells"] = double(scene.w + 60) * (scene.h + 60);
}
BENCHMARK(BM_LightingPass)
    ->Args({1920, 1080})
    ->Args({3840, 2160})
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1)
    ->Repetitions(31)
    ->DisplayAggregatesOnly(true);

// The carried lamp walking one pixel per pass, back and forth, so that its
// shadows are marched anew every pass and the cells of its squares, then
// and now, are lit anew: the pass of a walking player.
void BM_LightingPassWalkingLamp(benchmark::State& state)
{
    Scene& scene = sceneFor(state);
    static int step = 0;
    for (auto _ : state) {
        step = (step + 1) % 40;
        scene.cave.lamp.x = 540 + (step < 20 ? step : 40 - step);
        scene.pass();
    }
}
BENCHMARK(BM_LightingPassWalkingLamp)
    ->Args({1920, 1080})
    ->Args({3840, 2160})
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1)
    ->Repetitions(31)
    ->DisplayAggregatesOnly(true);

// The first pass into a new room: nothing is kept and the scratch memory
// is fresh.
void BM_LightingFirstPass(benchmark::State& state)
{
    Cave cave;
    int x, y, w, h;
    viewFor(int(state.range(0)), int(state.range(1)), &x, &y, &w, &h);
    for (auto _ : state) {
        LIGHTING_SCRATCH scratch;
        cave.level->computeLighting(x, y, w, h, 30, scratch);
    }
}
BENCHMARK(BM_LightingFirstPass)
    ->Args({1920, 1080})
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1)
    ->Repetitions(9)
    ->DisplayAggregatesOnly(true);

void BM_PlainLightingPass(benchmark::State& state)
{
    Cave cave;
    int x, y, w, h;
    viewFor(int(state.range(0)), int(state.range(1)), &x, &y, &w, &h);
    for (auto _ : state)
        reference::pass(*cave.level, x, y, w, h, 30);
}
BENCHMARK(BM_PlainLightingPass)
    ->Args({1920, 1080})
    ->Args({3840, 2160})
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1)
    ->Repetitions(9)
    ->DisplayAggregatesOnly(true);

} // namespace

BENCHMARK_MAIN();
