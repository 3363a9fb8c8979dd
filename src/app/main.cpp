#include "app/Frame.h"
#include "app/RunOptions.h"

#include <cstdio>

int main(int argc, char** argv)
{
    RUN_OPTIONS options;
    if (!parseRunOptions(argc, argv, &options)) {
        std::fprintf(stderr, "gloamer: %s\n%s", options.error, runUsage);
        return 2;
    }
    int failure = startUp(options.window);
    if (failure)
        return failure;
    int code = runGame(options);
    shutDown();
    return code;
}
