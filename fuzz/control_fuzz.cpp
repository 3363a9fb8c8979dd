// A damaged or hostile control.ini: it is taken whole or refused, and every
// binding is a key symbol afterwards.
#include "FuzzFile.h"

#include "audio/Control.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    loadDefaultControls();
    int taken = loadControls(fuzzFile(data, size));
    for (int slot = 0; slot < controlCount; slot++) {
        int key = getControl(slot);
        if (key < 0 || key >= controlCount || (!taken && key != slot))
            std::abort();
    }
    if (getMusicVolume() < 0 || getMusicVolume() > 100 || getFxVolume() < 0 || getFxVolume() > 100)
        std::abort();
    return 0;
}
