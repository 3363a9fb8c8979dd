#include "app/RunOptions.h"

#include "base/BoundedString.h"
#include "base/LevelPath.h"
#include "base/TextReader.h"
#include "save/SaveState.h"
#include "save/Settings.h"
#include "save/SlotFile.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <unistd.h>

const char* const runUsage =
    "usage: gloamer [--start LEVEL X Y] [--replay FILE] [--record FILE] [--frames N] [--fast]\n"
    "               [--trace FILE] [--shot FRAME:FILE.png]... [--window] [--slot N]\n"
    "               [--player-folder DIR] [--brightness N]\n";

namespace {

// A whole decimal number within [low, high].
// A file name argument that fits its field.
bool readName(const char* text, char* field, std::size_t size)
{
    return text && *text && boundedCopy(field, size, text);
}

bool readShot(const char* text, SHOT* shot)
{
    const char* colon = text ? std::strchr(text, ':') : nullptr;
    if (!colon)
        return false;
    char number[32];
    std::size_t length = std::size_t(colon - text);
    if (length >= sizeof number)
        return false;
    std::memcpy(number, text, length);
    number[length] = '\0';
    long frame = 0;
    if (!readWholeNumber(number, 0, INT_MAX, &frame) || !readName(colon + 1, shot->file, sizeof shot->file))
        return false;
    shot->frame = int(frame);
    return true;
}

} // namespace

int parseRunOptions(int argc, char** argv, RUN_OPTIONS* o)
{
    for (int i = 1; i < argc; i++) {
        const char* option = argv[i];
        // The arguments after the option; null past the end.
        auto argument = [&](int k) -> const char* { return i + k < argc ? argv[i + k] : nullptr; };
        bool good = true;
        long x = 0, y = 0;
        if (std::strcmp(option, "--start") == 0) {
            // The level stays in the game's level folder, and the position
            // within the limits of a slot, where the game stores it at once.
            good = readName(argument(1), o->startLevel, sizeof o->startLevel) &&
                   levelNameStaysInside(o->startLevel) &&
                   readWholeNumber(argument(2), -savePositionLimit, savePositionLimit, &x) &&
                   readWholeNumber(argument(3), -savePositionLimit, savePositionLimit, &y);
            o->start = true;
            o->startX = int(x);
            o->startY = int(y);
            i += 3;
        } else if (std::strcmp(option, "--replay") == 0) {
            good = readName(argument(1), o->replay, sizeof o->replay);
            i++;
        } else if (std::strcmp(option, "--record") == 0) {
            good = readName(argument(1), o->record, sizeof o->record);
            i++;
        } else if (std::strcmp(option, "--frames") == 0) {
            good = readWholeNumber(argument(1), 1, LONG_MAX, &o->frames);
            i++;
        } else if (std::strcmp(option, "--trace") == 0) {
            good = readName(argument(1), o->trace, sizeof o->trace);
            i++;
        } else if (std::strcmp(option, "--shot") == 0) {
            SHOT shot;
            good = readShot(argument(1), &shot);
            if (good)
                o->shots.push_back(shot);
            i++;
        } else if (std::strcmp(option, "--brightness") == 0) {
            long step = 0;
            good = readWholeNumber(argument(1), long(brightnessLowest), long(brightnessHighest), &step);
            o->brightnessGiven = true;
            o->brightness = int(step);
            i++;
        } else if (std::strcmp(option, "--slot") == 0) {
            long slot = 0;
            good = readWholeNumber(argument(1), 0L, 4L, &slot);
            o->slot = int(slot);
            i++;
        } else if (std::strcmp(option, "--player-folder") == 0) {
            good = readName(argument(1), o->playerFolder, sizeof o->playerFolder);
            i++;
        } else if (std::strcmp(option, "--fast") == 0) {
            o->fast = true;
        } else if (std::strcmp(option, "--window") == 0) {
            o->window = true;
        } else {
            boundedFormat(o->error, sizeof o->error, "unknown option %s", option);
            return 0;
        }
        if (!good) {
            boundedFormat(o->error, sizeof o->error, "missing or bad argument of %s", option);
            return 0;
        }
    }
    for (const SHOT& shot : o->shots)
        if (o->frames >= 0 && shot.frame >= o->frames) {
            boundedFormat(o->error, sizeof o->error, "--shot %d:%s is beyond the %ld frames of --frames", shot.frame,
                          shot.file, o->frames);
            return 0;
        }
    return 1;
}

int checkStartLevel(RUN_OPTIONS* options)
{
    char path[300];
    if (!options->start || (levelPathOf(options->startLevel, path, sizeof path) && levelFileExists(path)))
        return 1;
    char folder[PATH_MAX];
    boundedFormat(options->error, sizeof options->error, "--start: no level file %s in %s",
                  path, getcwd(folder, sizeof folder) ? folder : ".");
    return 0;
}

namespace {

void anchor(char* path, std::size_t size, const char* folder)
{
    if (!*path || *path == '/')
        return;
    char anchored[512];
    if (boundedFormat(anchored, sizeof anchored, "%s/%s", folder, path) != 1 ||
        boundedCopy(path, size, anchored) != 1)
        *path = '\0';
}

} // namespace

void anchorRunFiles(RUN_OPTIONS* options)
{
    char folder[PATH_MAX];
    if (!getcwd(folder, sizeof folder))
        return;
    anchor(options->replay, sizeof options->replay, folder);
    anchor(options->record, sizeof options->record, folder);
    anchor(options->trace, sizeof options->trace, folder);
    for (SHOT& shot : options->shots)
        anchor(shot.file, sizeof shot.file, folder);
    anchor(options->playerFolder, sizeof options->playerFolder, folder);
}

void runSlot(const RUN_OPTIONS& options, char* out, int size)
{
    if (!options.start && !*options.replay)
        boundedCopy(out, std::size_t(size), "");
    else if (options.slot >= 0)
        boundedCopy(out, std::size_t(size), slotPath(options.slot).c_str());
    else
        boundedCopy(out, std::size_t(size), replaySlot);
}
