#include "base/RandomRun.h"

#include <cstdlib>

namespace {

// setstate() encodes a state's position as types * rear + type.
const int stateTypes = 5;
const int additiveType = 3;
const int separation = 3;

std::mutex& runLock()
{
    static std::mutex lock;
    return lock;
}

// What std::rand() draws from on other threads during a run: a valid
// state of the same type, its own table.
std::int32_t standIn[32] = {additiveType, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15,
                            16, 17, 18, 19, 20, 21, 22, 23, 24, 25, 26, 27, 28, 29, 30, 31};

} // namespace

RandomRun::RandomRun() : hold(runLock())
{
#ifdef __GLIBC__
    saved = setstate(reinterpret_cast<char*>(standIn));
    std::int32_t* words = reinterpret_cast<std::int32_t*>(saved);
    if (!words || words[0] % stateTypes != additiveType) {
        if (saved)
            setstate(saved);
        saved = nullptr;
        return;
    }
    table = words + 1;
    rear = words[0] / stateTypes;
    front = (rear + separation) % degree;
#endif
}

RandomRun::~RandomRun()
{
    if (!table)
        return;
    reinterpret_cast<std::int32_t*>(saved)[0] = stateTypes * rear + additiveType;
    setstate(saved);
}
