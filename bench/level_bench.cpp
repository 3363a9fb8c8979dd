// Cost of baking a room into its level map and of spreading its cloud.
#include "assets/Tile.h"
#include "level/Element.h"
#include "level/Level.h"

#include <benchmark/benchmark.h>

#include <memory>
#include <vector>

namespace {

// A room of `width` x `height` pixels paved with 64 x 64 opaque tiles, with
// dirt and noise.
struct Room {
    Room(int width, int height)
    {
        tile.create(64, 64, 1, 0);
        for (int i = 0; i < 64 * 64; i++)
            tile.frames[0].data[i] = TILE_PIXEL{int(0xFF000000u | unsigned(i * 2654435761u) >> 8), i % 11, 0.0f};
        level.reset(new Level);
        level->dirt = true;
        level->noise = true;
        for (int x = 0; x < width; x += 64)
            for (int y = 0; y < height; y += 64) {
                Element* e = new Element(&tile);
                e->x = x;
                e->y = y;
                level->elements.push_back(e);
            }
    }
    Tile tile;
    std::unique_ptr<Level> level;
};

void BM_CompileRoom(benchmark::State& state)
{
    int width = int(state.range(0)), height = int(state.range(1));
    for (auto _ : state) {
        state.PauseTiming();
        Room room(width, height);
        state.ResumeTiming();
        benchmark::DoNotOptimize(room.level->compile());
        state.PauseTiming();
        room.level.reset();
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * int64_t(width) * height);
}
BENCHMARK(BM_CompileRoom)->Args({640, 384})->Args({2048, 1024})->Unit(benchmark::kMillisecond);

// One update of a cloud of two steps per update over a 1024 x 512 room.
void BM_CloudUpdate(benchmark::State& state)
{
    Room room(1024, 512);
    room.level->compile();
    room.level->hasCloud = true;
    room.level->cloudSteps = 2;
    room.level->map[300 * room.level->mapHeight + 200].cloud = 10;
    for (auto _ : state)
        room.level->computeCloud();
    state.SetItemsProcessed(state.iterations() * int64_t(room.level->mapWidth) * room.level->mapHeight * 2);
}
BENCHMARK(BM_CloudUpdate)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
