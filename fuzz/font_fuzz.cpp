// A damaged or hostile font, loaded and printed with as the game prints.
#include "FuzzFile.h"

#include "assets/Typo.h"
#include "render/Screen.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    Typo font;
    font.load(fuzzFile(data, size));
    Screen screen(64, 48, 1);
    font.printAll(0, 0, &screen);
    font.print2("Slot 3: 42 keys", 2, 2, 60, 8, 100, int(0xFFFFFFFF), &screen);
    font.printCenter("Gloamer\nnew game", 32, 20, &screen);
    return 0;
}
