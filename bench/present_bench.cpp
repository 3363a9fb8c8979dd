// Presentation cost of the logical buffer of a 1920 x 1080 desktop
// (480 x 270 logical pixels at scale 4) on the dummy video driver: the
// changed blocks sent and the flip that shows them.
#include "render/Screen.h"

#include <SDL.h>
#include <benchmark/benchmark.h>

#include <cstdlib>

namespace {

struct Display {
    Display()
    {
        setenv("SDL_VIDEODRIVER", "dummy", 0);
        SDL_Init(SDL_INIT_VIDEO);
        surface = SDL_SetVideoMode(1920, 1080, 32, SDL_SWSURFACE);
    }
    ~Display() { SDL_Quit(); }
    SDL_Surface* surface;
};

Display& display()
{
    static Display d;
    return d;
}

// Changes every n-th pixel (by a colour that alternates each run), presents
// and flips, through the brightness curve of `brightness`.
void presentChanged(benchmark::State& state, int every, int brightness = 0)
{
    SDL_Surface* target = display().surface;
    Screen screen(480, 270, 4);
    screen.setBrightness(brightness);
    screen.draw(target);
    screen.flip(target);
    int frame = 0;
    for (auto _ : state) {
        frame++;
        int colour = int(0xFF000000) | (frame & 1 ? 0x406080 : 0x102030);
        for (int i = 0; i < screen.width * screen.height; i += every)
            screen.pixels[i] = colour;
        screen.draw(target);
        screen.flip(target);
    }
    state.counters["pixels"] = double(screen.width * screen.height / every);
}

void BM_PresentAllChanged(benchmark::State& state) { presentChanged(state, 1); }
void BM_PresentOnePercentChanged(benchmark::State& state) { presentChanged(state, 100); }
void BM_PresentAllChangedBrighter(benchmark::State& state) { presentChanged(state, 1, 5); }
void BM_PresentStill(benchmark::State& state) { presentChanged(state, 1 << 30); }

} // namespace

BENCHMARK(BM_PresentAllChanged)->Unit(benchmark::kMillisecond)->Repetitions(9)->DisplayAggregatesOnly(true);
BENCHMARK(BM_PresentOnePercentChanged)->Unit(benchmark::kMillisecond)->Repetitions(9)->DisplayAggregatesOnly(true);
BENCHMARK(BM_PresentAllChangedBrighter)->Unit(benchmark::kMillisecond)->Repetitions(9)->DisplayAggregatesOnly(true);
BENCHMARK(BM_PresentStill)->Unit(benchmark::kMillisecond)->Repetitions(9)->DisplayAggregatesOnly(true);

BENCHMARK_MAIN();
