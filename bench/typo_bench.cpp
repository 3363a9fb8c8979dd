// Cost of printing a full message box text (255 characters, word-wrapped in
// the box of a 480-pixel-wide logical screen) with the game's large font, as
// the message box does every frame, and of measuring it without drawing.
#include "assets/Typo.h"
#include "render/Screen.h"

#include <benchmark/benchmark.h>

#include <string>

namespace {

std::string message()
{
    std::string text;
    while (text.size() < 240)
        text += "The door at the end of the tunnel opens with the red key. ";
    return text.substr(0, 255);
}

Typo& font()
{
    static Typo typo;
    static bool loaded = typo.load(GLOAMER_GAME_DIR "/typo.dat");
    (void)loaded;
    return typo;
}

void printWrapped(benchmark::State& state)
{
    Screen screen(480, 270, 4);
    std::string text = message();
    for (auto _ : state)
        benchmark::DoNotOptimize(font().print2(text.c_str(), 42, 22, 400, 9, 255, int(0xFFFFFFFF), &screen));
}

void measureWrapped(benchmark::State& state)
{
    std::string text = message();
    for (auto _ : state)
        benchmark::DoNotOptimize(font().print2(text.c_str(), 42, 22, 400, 9, -1, int(0xFFFFFFFF), nullptr));
}

} // namespace

BENCHMARK(printWrapped);
BENCHMARK(measureWrapped);
BENCHMARK_MAIN();
