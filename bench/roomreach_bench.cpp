// Cost of a door-to-door search in a room of the game: the whole search, and
// the states it weighs per second.
#include "authoring/RoomReach.h"

#include <benchmark/benchmark.h>

namespace {

// metro3 of the game directory, from its west door to its east door.
void BM_RoomReachMetro3(benchmark::State& state)
{
    RoomReach reach;
    if (!reach.load(GLOAMER_GAME_DIR, "metro3.lvl")) {
        state.SkipWithError("the game directory has no character sheet or no metro3.lvl");
        return;
    }
    long nodes = 0;
    for (auto _ : state) {
        if (reach.search("to_metro2", "to_entrance") != 1) {
            state.SkipWithError("no way found");
            return;
        }
        nodes += reach.nodes;
    }
    state.counters["states"] = benchmark::Counter(double(nodes), benchmark::Counter::kIsRate);
    state.counters["frames"] = double(reach.script.size());
}
BENCHMARK(BM_RoomReachMetro3)->Unit(benchmark::kMillisecond)->Repetitions(3)->DisplayAggregatesOnly(true);

} // namespace

BENCHMARK_MAIN();
