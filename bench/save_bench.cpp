// Writing and reading a slot late in a game: twenty rooms the size of the
// metro platform remembered, and the 87 MB that a whole playthrough leaves
// (47 rooms). The game writes the slot at every door.
#include "RememberedRooms.h"
#include "save/SlotFile.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>

namespace {

SAVE_STATE lateGame(int rooms = 20, int w = 512, int h = 96)
{
    SAVE_STATE s = rememberedRooms(rooms, w, h);
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

void writeSlotAtTheEndOfAPlaythrough(benchmark::State& state)
{
    SAVE_STATE s = lateGame(47, 480, 480);
    writeSlot(slot.c_str(), s);
    for (auto _ : state)
        benchmark::DoNotOptimize(writeSlot(slot.c_str(), s));
}
BENCHMARK(writeSlotAtTheEndOfAPlaythrough)->Unit(benchmark::kMillisecond);

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
