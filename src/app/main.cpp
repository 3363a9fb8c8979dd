#include "app/Frame.h"
#include "app/RunOptions.h"
#include "platform/GameFolders.h"

#include <cstdio>

int main(int argc, char** argv)
{
    RUN_OPTIONS options;
    if (!parseRunOptions(argc, argv, &options)) {
        std::fprintf(stderr, "gloamer: %s\n%s", options.error, runUsage);
        return 2;
    }
    // The files named on the command line are the caller's, before the
    // program moves into its data folder.
    anchorRunFiles(&options);
    if (!enterGameFolders())
        return 1;
    if (*options.playerFolder)
        setPlayerFolder(options.playerFolder);
    int failure = startUp(options.window);
    if (failure)
        return failure;
    int code = runGame(options);
    shutDown();
    return code;
}
