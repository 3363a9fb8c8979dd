// Feeds arbitrary bytes to the replay reader, as a damaged or hostile
// --replay file would. Besides the sanitizers' findings it stops on keys
// read out of order or outside SDL's key symbols.
#include "app/Session.h"

#include <SDL.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    // The key names exist once video is up.
    static const bool video = setenv("SDL_VIDEODRIVER", "dummy", 1) == 0 && SDL_Init(SDL_INIT_VIDEO) == 0;
    if (!video || size == 0)
        return 0;
    std::FILE* in = fmemopen(const_cast<std::uint8_t*>(data), size, "r");
    if (!in)
        return 0;
    std::vector<REPLAY_KEY> keys;
    char error[512];
    int read = readReplayKeys(in, "fuzz", &keys, error, sizeof error);
    std::fclose(in);
    for (std::size_t i = 0; read && i < keys.size(); i++)
        if (keys[i].key < 0 || keys[i].key >= SDLK_LAST || keys[i].frame < 0 ||
            (i > 0 && keys[i].frame < keys[i - 1].frame))
            std::abort();
    return 0;
}
