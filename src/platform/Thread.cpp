#include "platform/Thread.h"

void Thread::start(Function function, void* argument)
{
    join();
    worker = std::thread([function, argument] { function(argument); });
}

void Thread::join()
{
    if (worker.joinable())
        worker.join();
}
