// Cost of drawing tiles and of loading a tile library.
#include "base/BoundedString.h"
#include "assets/Tile.h"
#include "assets/TileContainer.h"
#include "assets/TileList.h"
#include "render/Screen.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>

namespace {

void fill(Tile* tile, int side, int frames)
{
    tile->create(side, side, frames, 0);
    for (int f = 0; f < frames; f++)
        for (int i = 0; i < side * side; i++)
            tile->frames[f].data[i].colour = int(0x80000000u | unsigned(i * 2654435761u) >> 8);
}

// A half-transparent 32 x 32 tile blended onto a 480 x 270 screen, partly clipped.
void BM_TileDrawBlended(benchmark::State& state)
{
    Tile tile;
    fill(&tile, 32, 1);
    Screen screen(480, 270, 4);
    int x = -16;
    for (auto _ : state) {
        tile.draw(0, x, 100, &screen);
        x = x > 470 ? -16 : x + 7;
    }
    state.SetItemsProcessed(state.iterations() * 32 * 32);
}

void BM_TileDrawMirrored(benchmark::State& state)
{
    Tile tile;
    fill(&tile, 32, 1);
    Screen screen(480, 270, 4);
    for (auto _ : state)
        tile.draw(0, 200, 100, 1, &screen);
    state.SetItemsProcessed(state.iterations() * 32 * 32);
}

// A library of N tiles of 16 x 16: each tile scans the directory again for
// its own entry, so loading grows with the square of the count.
void BM_TileListLoad(benchmark::State& state)
{
    int count = int(state.range(0));
    TileContainer container;
    for (int i = 0; i < count; i++) {
        Tile tile;
        fill(&tile, 16, 1);
        boundedFormat(tile.name, sizeof tile.name, "tile_number_%04d.til", i);
        container.add(tile);
    }
    std::string file = "/tmp/gloamer_tile_bench.dat";
    container.save(file.c_str());
    for (auto _ : state) {
        TileList library(file.c_str(), false);
        benchmark::DoNotOptimize(library.count);
    }
    std::remove(file.c_str());
}

} // namespace

BENCHMARK(BM_TileDrawBlended);
BENCHMARK(BM_TileDrawMirrored);
// Linear in the entries: 16 times the entries take about 16 times as long.
BENCHMARK(BM_TileListLoad)->Arg(100)->Arg(1000)->Arg(16000)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
