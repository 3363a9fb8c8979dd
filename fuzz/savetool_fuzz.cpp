// Feeds arbitrary bytes to the slot reader as savetool's dump does, and
// stops on a slot whose dump does not pack back into the same bytes: any
// slot the game reads must survive the text form unchanged, whatever its
// strings hold.
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
    if (bytes != std::vector<unsigned char>(data, data + size))
        std::abort();
    return 0;
}
