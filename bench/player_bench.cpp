// Cost of one player update walking through a room of the game, and of the
// search for free space when nothing near is free.
#include "assets/Tile.h"
#include "level/Element.h"
#include "level/Level.h"
#include "player/BoundingBox.h"
#include "authoring/PlayerRoom.h"

#include <benchmark/benchmark.h>

#include <algorithm>

namespace {

// The subway platform of the game directory, the player walking along its
// floor and turning every 90 frames, with the lamp lit.
void BM_PlayerUpdate(benchmark::State& state)
{
    PlayerRoom room;
    if (!room.load(GLOAMER_GAME_DIR, "metro2.lvl")) {
        state.SkipWithError("the game directory has no character sheet or no metro2.lvl");
        return;
    }
    room.place(100, 47);
    PLAYER_COMMANDS right, left;
    right.right = true;
    left.left = true;
    int frame = 0;
    for (auto _ : state) {
        room.frame((frame++ / 90) % 2 == 0 ? right : left);
        benchmark::DoNotOptimize(room.player.state.x);
    }
    if (room.player.state.life == 0)
        state.SkipWithError("the player was crushed: the walk left the floor");
}
BENCHMARK(BM_PlayerUpdate)->Unit(benchmark::kMicrosecond)->Repetitions(9)->DisplayAggregatesOnly(true);

// The slowest search: every one of its 500 places reads the whole outline
// as open and walks 50 movable elements out of reach before the last one,
// which covers the whole neighbourhood, blocks it.
void BM_FindSpaceWorstCase(benchmark::State& state)
{
    Tile small, large;
    small.create(8, 8, 1, 0);
    large.create(100, 100, 1, 0);
    Level level;
    level.allocateMap(400, 400);
    std::fill(level.map, level.map + 400 * 400, LevelPixel{});
    for (int i = 0; i < 50; i++) {
        Element* far = new Element(&small);
        far->x = 350;
        far->y = i * 8;
        level.actives.push_back(far);
    }
    Element* cover = new Element(&large);
    cover->x = 150;
    cover->y = 150;
    level.actives.push_back(cover);
    for (auto _ : state) {
        BoundingBox box{200, 200, 7, 19};
        box.findSpace(&level);
        benchmark::DoNotOptimize(box.x);
    }
}
BENCHMARK(BM_FindSpaceWorstCase)->Unit(benchmark::kMicrosecond)->Repetitions(9)->DisplayAggregatesOnly(true);

} // namespace

BENCHMARK_MAIN();
