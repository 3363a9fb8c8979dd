// Writing and reading a slot late in a game: twenty rooms the size of the
// metro platform remembered. The game writes the slot at every door.
#include "save/SlotFile.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>

namespace {

SAVE_STATE lateGame()
{
    SAVE_STATE s;
    s.memories.resize(20);
    for (SAVE_MEMORY& memory : s.memories) {
        memory.w = 512;
        memory.h = 96;
        memory.quality.assign(512 * 96, 0x3F800000u);
        memory.glow.assign(512 * 96, 0);
    }
    s.objects.resize(40);
    return s;
}

const std::string slot = "/tmp/gloamer_save_bench.sav";

void writeSlotAtADoor(benchmark::State& state)
{
    SAVE_STATE s = lateGame();
    writeSlot(slot.c_str(), s);
    for (auto _ : state)
        benchmark::DoNotOptimize(writeSlot(slot.c_str(), s));
}
BENCHMARK(writeSlotAtADoor)->Unit(benchmark::kMillisecond);

void readSlotOnContinue(benchmark::State& state)
{
    writeSlot(slot.c_str(), lateGame(), nullptr, SlotBackup::none);
    for (auto _ : state) {
        SAVE_STATE s;
        benchmark::DoNotOptimize(readSlot(slot.c_str(), s));
    }
    std::remove(slot.c_str());
    std::remove((slot + ".bak").c_str());
}
BENCHMARK(readSlotOnContinue)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
