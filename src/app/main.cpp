#include "app/Frame.h"

int main(int, char**)
{
    int failure = startUp();
    if (failure)
        return failure;
    mainLoop();
    shutDown();
    return 0;
}
