// Feeds arbitrary bytes to the slot readers, as a damaged or hostile save
// file would. Besides the sanitizers' findings it stops on a reader that
// changed its record while refusing the input, and on a slot or text that
// does not read back as what was read.
#include "save/SaveState.h"

#include <cstdlib>

namespace {

// A record with something in every list, so that a refused input that
// touched it shows.
SAVE_STATE filled()
{
    SAVE_STATE s;
    s.coin = 77;
    s.objects.resize(2);
    auto memory = std::make_shared<SAVE_MEMORY>();
    memory->w = 1;
    memory->h = 1;
    memory->quality = {1};
    memory->glow = {2};
    s.memories = {memory};
    return s;
}

void check(bool condition)
{
    if (!condition)
        std::abort();
}

void binary(const std::uint8_t* data, std::size_t size)
{
    SAVE_STATE state = filled();
    const std::vector<unsigned char> before = encodeSaveState(state);
    if (!decodeSaveState(data, size, state)) {
        check(encodeSaveState(state) == before);
        return;
    }
    std::vector<unsigned char> once = encodeSaveState(state);
    SAVE_STATE again;
    check(decodeSaveState(once.data(), once.size(), again) == 1);
    check(encodeSaveState(again) == once);
}

void text(const std::uint8_t* data, std::size_t size, SaveText form)
{
    SAVE_STATE state = filled();
    const std::vector<unsigned char> before = encodeSaveState(state);
    if (!parseSaveText((const char*)data, size, state, form)) {
        check(encodeSaveState(state) == before);
        return;
    }
    std::string complete = formatSaveText(state, SaveText::complete);
    SAVE_STATE again;
    check(parseSaveText(complete.data(), complete.size(), again, SaveText::complete) == 1);
    check(encodeSaveState(again) == encodeSaveState(state));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    binary(data, size);
    text(data, size, SaveText::game);
    text(data, size, SaveText::complete);
    return 0;
}
