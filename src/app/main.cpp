#include "app/Frame.h"
#include "platform/GameFolders.h"

int main(int, char**)
{
    if (!enterGameFolders())
        return 1;
    int failure = startUp();
    if (failure)
        return failure;
    mainLoop();
    shutDown();
    return 0;
}
