#include "app/Frame.h"
#include "app/RunOptions.h"
#include "platform/GameFolders.h"

#include <csignal>
#include <cstdio>

int main(int argc, char** argv)
{
    // A file-size limit makes a slot's write fail like a full disk, which the
    // game reports, instead of killing the game.
    std::signal(SIGXFSZ, SIG_IGN);
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
    if (!checkStartLevel(&options)) {
        std::fprintf(stderr, "gloamer: %s\n", options.error);
        return 2;
    }
    if (*options.playerFolder)
        setPlayerFolder(options.playerFolder);
    int failure = startUp(options.window);
    if (failure)
        return failure;
    int code = runGame(options);
    shutDown();
    return code;
}
