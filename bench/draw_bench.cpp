// Cost of drawing one frame of a room on a 480 x 270 screen: the picture with
// memory and glow alone, and the whole composition of the three buffers.
#include "assets/Tile.h"
#include "level/Element.h"
#include "level/Level.h"
#include "level/LevelView.h"
#include "render/Screen.h"

#include <benchmark/benchmark.h>

namespace {

// A 1024 x 512 room of a memory level with cloud and water, its light
// buffer half lit in stripes, every tenth cell charged paint.
struct Room {
    Room()
    {
        tile.create(64, 64, 1, 0);
        for (int i = 0; i < 64 * 64; i++)
            tile.frames[0].data[i] = TILE_PIXEL{int(0xFF000000u | unsigned(i * 2654435761u) >> 8), 3 + i % 8, 0.0f};
        level.memories = true;
        for (int x = 0; x < 1024; x += 64)
            for (int y = 0; y < 512; y += 64) {
                Element* e = new Element(&tile);
                e->x = x;
                e->y = y;
                level.elements.push_back(e);
            }
        level.compile();
        level.hasCloud = true;
        level.water = true;
        level.waterLevel = level.mapHeight / 2;
        level.waterTile.create(16, 16, 1, 0);
        for (int i = 0; i < 16 * 16; i++)
            level.waterTile.frames[0].data[i].colour = int(0xFF2040C0u);
        long long cells = (long long)level.mapWidth * level.mapHeight;
        for (long long c = 0; c < cells; c++) {
            LevelPixel& p = level.map[c];
            CellLight& received = level.light[0][c];
            bool lit = (c / 7) % 2 == 0;
            for (int k = 0; k < 3; k++)
                received.lit[k] = received.unshadowed[k] = lit ? 0.8f : 0.0f;
            received.reached = lit ? 1.0f : 0.0f;
            p.cloud = int(c % 5);
            p.glow = c % 10 == 0 ? 0x05FF8040 : 0;
            p.quality = 0.5f;
        }
    }
    Tile tile;
    Level level;
};

void BM_DrawPicture(benchmark::State& state)
{
    Room room;
    Screen screen(480, 270, 4);
    for (auto _ : state) {
        room.level.draw(&screen, -200, -100, 0, 0);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_DrawPicture)->Unit(benchmark::kMillisecond);

void BM_ComposeFrame(benchmark::State& state)
{
    Room room;
    Screen screen(480, 270, 4);
    LevelView view(480, 270);
    for (auto _ : state) {
        screen.clear(int(0xFF000000u));
        view.draw(&room.level, &screen, -200, -100);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_ComposeFrame)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
