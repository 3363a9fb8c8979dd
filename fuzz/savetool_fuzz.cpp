// Feeds arbitrary bytes to the slot reader as savetool's dump does, and
// stops on a slot whose dump does not pack back into the slot the game
// would write for it: whatever its strings hold, nothing the game reads is
// lost in the text form. (The flags are stored in overlapping windows and
// read as "not zero", so a slot written by another hand may differ in those
// bytes and still read the same.)
#include "save/SaveState.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    SAVE_STATE slot;
    if (!decodeSaveState(data, size, slot))
        return 0;
    const std::string text = formatSaveText(slot, SaveText::complete);
    SAVE_STATE packed;
    if (!parseSaveText(text.data(), text.size(), packed, SaveText::complete))
        std::abort();
    const std::vector<unsigned char> bytes = encodeSaveState(packed);
    if (bytes != encodeSaveState(slot))
        std::abort();
    return 0;
}
