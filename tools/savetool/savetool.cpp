// savetool dump FILE
// savetool pack TEXT OUT
// Converts between the binary save slot format and its readable text form.
// `dump` prints every field of a slot, including the checkpoint and the
// memories of visited levels (one line of hexadecimal words per map column).
// `pack` reads such a text, starting from a new player's values for every
// field it does not name, and writes the binary slot; a line it does not know
// is an error, and so is a slot the game would not read (too large, or out
// of its limits). Strings are dumped quoted and escaped, so that packing a
// dump gives back the slot the game writes for that state: byte for byte
// for every slot the game wrote itself. Exits 1 when a file cannot be
// read, is not a valid slot or text, or cannot be written, and 2 on a usage
// error.
#include "save/SaveState.h"
#include "save/SlotFile.h"

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace {

int usage()
{
    std::fprintf(stderr, "usage: savetool dump FILE\n       savetool pack TEXT OUT\n");
    return 2;
}

int dump(const char* path)
{
    SAVE_STATE state;
    // The slot itself, never its backup copy.
    SlotStatus status = readSlot(path, state, SlotBackup::none);
    if (status != SlotStatus::good) {
        std::fprintf(stderr, "%s: %s\n", path, status == SlotStatus::empty ? "cannot open" : "not a valid save file");
        return 1;
    }
    std::string text = formatSaveText(state, SaveText::complete);
    std::printf("%s\n", text.c_str());
    return 0;
}

int pack(const char* textPath, const char* outPath)
{
    SAVE_STATE state;
    if (!readSlotText(textPath, state, SaveText::complete)) {
        std::fprintf(stderr, "%s: cannot read or not a valid save text\n", textPath);
        return 1;
    }
    std::vector<unsigned char> bytes = encodeSaveState(state);
    SAVE_STATE readBack;
    if (bytes.size() > slotMaxBytes || !decodeSaveState(bytes.data(), bytes.size(), readBack)) {
        std::fprintf(stderr, "%s: the game would not read this slot (%zu bytes)\n", textPath, bytes.size());
        return 1;
    }
    if (!writeSlot(outPath, state, nullptr, SlotBackup::none)) {
        std::fprintf(stderr, "%s: cannot write\n", outPath);
        return 1;
    }
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc == 3 && std::strcmp(argv[1], "dump") == 0)
        return dump(argv[2]);
    if (argc == 4 && std::strcmp(argv[1], "pack") == 0)
        return pack(argv[2], argv[3]);
    return usage();
}
