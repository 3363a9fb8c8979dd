#pragma once

#include "save/SaveState.h"

#include <cstdio>
#include <cstring>

// What a player remembers of `rooms` rooms of w x h cells, as a game leaves
// it: in every column the cells seen in full, a band of a dozen fading ones
// that were seen a while ago, and the unseen rest; a few glowing cells.
inline SAVE_STATE rememberedRooms(int rooms, int w = 480, int h = 480)
{
    SAVE_STATE s;
    for (int i = 0; i < rooms; i++) {
        auto memory = std::make_shared<SAVE_MEMORY>();
        std::snprintf(memory->name, sizeof memory->name, "./Level/remembered%02d.lvl", i);
        memory->w = w;
        memory->h = h;
        for (int mx = 0; mx < w; mx++) {
            int seen = (h / 3 + mx * 7 % (h / 3 + 1) + i) % h;
            for (int my = 0; my < h; my++) {
                float fading = my < seen ? 1.0f : 1.0f - float(my - seen) / 12.0f;
                float quality = fading > 0.0f ? fading : 0.0f;
                std::uint32_t bits;
                std::memcpy(&bits, &quality, sizeof bits);
                memory->quality.push_back(bits);
                memory->glow.push_back(mx % 40 == 0 && my == seen / 2 ? 0xFF44FF88u : 0u);
            }
        }
        memory->quality.shrink();
        memory->glow.shrink();
        s.memories.push_back(memory);
    }
    return s;
}
