// A damaged or hostile character sheet, in both of its text formats.
#include "FuzzFile.h"

#include "assets/Animation.h"

#include <cstdlib>

namespace {

void read(int (Animation::*load)(const char*), const char* path)
{
    Animation sheet;
    if (!(sheet.*load)(path))
        return;
    for (int f = 0; f < sheet.getFrameCount(); f++)
        (void)sheet.getColor(sheet.getWidth() - 1, sheet.getHeight() - 1, f);
    for (int s = 0; s < sheet.getSeqCount(); s++)
        if (sheet.getSeqBegin(s) < 0 || sheet.getSeqEnd(s) >= sheet.getFrameCount())
            std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const char* path = fuzzFile(data, size);
    read(&Animation::loadFromFile, path);
    read(&Animation::loadFromFile2, path);
    return 0;
}
