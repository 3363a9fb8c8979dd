#include "app/Session.h"

#include "app/Pad.h"
#include "base/BoundedString.h"
#include "base/ReplacingFile.h"
#include "render/PngImage.h"
#include "level/Level.h"
#include "player/Player.h"
#include "render/Screen.h"
#include "world/World.h"

#include <algorithm>
#include <cstring>

namespace {

// Removes a comment and the blanks around what is left.
char* trimLine(char* line)
{
    char* hash = std::strchr(line, '#');
    if (hash)
        *hash = '\0';
    while (*line == ' ' || *line == '\t')
        line++;
    std::size_t n = std::strlen(line);
    while (n > 0 && std::strchr(" \t\r\n", line[n - 1]))
        line[--n] = '\0';
    return line;
}

// Opens an output file of the run; a null path asks for none.
ReplacingFile* openOutput(const char* path, char* error, std::size_t size)
{
    if (!*path)
        return nullptr;
    ReplacingFile* file = new ReplacingFile(path, "w");
    if (!file->out)
        boundedFormat(error, size, "cannot write %s", path);
    return file;
}

int commitOutput(ReplacingFile*& file, bool written)
{
    if (!file)
        return 1;
    int ok = file->commit(written);
    delete file;
    file = nullptr;
    return ok;
}

// The rest of a trace line: all of the player's pose that his next frame
// reads (floats written so that they read back exactly), the world's frame
// count and the room's updates since it was loaded, so that a tool can set
// up the same player in the same room and go on from there.
int tracePose(std::FILE* out, const World& world)
{
    const Player& p = *world.player;
    const AnimationControler& a = *p.controler;
    return std::fprintf(out, " %d %d %d %d %d %d %d %d %.9g %.9g %d %d %d %d %d %.9g %.9g %d %d %d\n", p.oldX,
                        p.oldY, p.pushTimer, p.torch, p.moving, p.run, p.jumpReleased, p.flying, double(p.dy),
                        double(p.hitted), p.bbox.x, p.bbox.y, p.bbox.w, p.bbox.h, a.seq, double(a.frame),
                        double(a.speed), a.moved, world.frameCount, world.level->updates);
}

} // namespace

int keyFromName(const char* name)
{
    for (int key = 0; key < SDLK_LAST; key++)
        if (std::strcmp(SDL_GetKeyName(SDLKey(key)), name) == 0)
            return key;
    return -1;
}

int saveShot(const Screen& screen, const char* file)
{
    PngImage image;
    const int scale = screen.scale;
    image.resize(screen.width * scale, screen.height * scale);
    for (int y = 0; y < image.height; y++)
        for (int x = 0; x < image.width; x++)
            image.set(x, y, uint32_t(screen.presented(screen.getPixel(x / scale, y / scale))) | 0xFF000000u);
    return image.save(file);
}

Session::~Session()
{
    delete record;
    delete trace;
}

int Session::open(const RUN_OPTIONS& options)
{
    frames = options.frames;
    shots = options.shots;
    if (*options.replay && !readReplay(options.replay))
        return 0;
    record = openOutput(options.record, error, sizeof error);
    trace = openOutput(options.trace, error, sizeof error);
    return (!record || record->out) && (!trace || trace->out);
}

int Session::readReplay(const char* path)
{
    std::FILE* f = std::fopen(path, "r");
    if (!f) {
        boundedFormat(error, sizeof error, "cannot read %s", path);
        return 0;
    }
    char buffer[512];
    int lineNumber = 0;
    bool good = true;
    while (good && std::fgets(buffer, sizeof buffer, f)) {
        lineNumber++;
        char* line = trimLine(buffer);
        if (!*line)
            continue;
        REPLAY_KEY k;
        char way[8] = "";
        int used = 0;
        good = std::sscanf(line, "%d %7s %n", &k.frame, way, &used) == 2 && k.frame >= 0 &&
               (std::strcmp(way, "down") == 0 || std::strcmp(way, "up") == 0);
        if (good) {
            k.down = std::strcmp(way, "down") == 0;
            k.padInput = padInputFromName(line + used);
            k.key = k.padInput >= 0 ? 0 : keyFromName(line + used);
            good = k.key >= 0;
        }
        if (good)
            replay.push_back(k);
        else
            boundedFormat(error, sizeof error, "%s:%d: expected FRAME down|up KEY", path, lineNumber);
    }
    std::fclose(f);
    std::stable_sort(replay.begin(), replay.end(),
                     [](const REPLAY_KEY& a, const REPLAY_KEY& b) { return a.frame < b.frame; });
    return good;
}

void Session::beginFrame()
{
    for (; nextKey < replay.size() && replay[nextKey].frame <= frame; nextKey++) {
        if (replay[nextKey].padInput >= 0) {
            SDL_Event event = padEvent(replay[nextKey].padInput, replay[nextKey].down, &padHat);
            SDL_PushEvent(&event);
            continue;
        }
        SDL_Event event;
        std::memset(&event, 0, sizeof event);
        event.type = replay[nextKey].down ? SDL_KEYDOWN : SDL_KEYUP;
        event.key.state = replay[nextKey].down ? SDL_PRESSED : SDL_RELEASED;
        event.key.keysym.sym = SDLKey(replay[nextKey].key);
        SDL_PushEvent(&event);
    }
}

void Session::seeKey(const SDL_Event& event)
{
    if (!record)
        return;
    const char* way = event.type == SDL_KEYDOWN ? "down" : "up";
    if (std::fprintf(record->out, "%d %s %s\n", frame, way, SDL_GetKeyName(event.key.keysym.sym)) < 0)
        writeFailed = true;
}

void Session::seePad(int input, bool down)
{
    if (record && std::fprintf(record->out, "%d %s %s\n", frame, down ? "down" : "up", padInputName(input).c_str()) < 0)
        writeFailed = true;
}

void Session::endFrame(const World& world, const Screen& screen)
{
    if (trace) {
        const Player& p = *world.player;
        const char* room = *world.level->getName() ? world.level->getName() : "-";
        int written = std::fprintf(
            trace->out, "%d %s %d %d %.2f %d %d %d %d %d %d %d %d %d %d %d %d %d %.3f %d", frame,
            room, p.x, p.y, double(p.dy), p.way, p.life, p.coin, p.diamond, p.nKey, p.jumping,
            p.onLadder, p.crawl, p.visible, world.camX, world.camY, world.moviePlaying,
            finishedGame ? int(World::StageFinished) : world.gameOver.stage,
            double(world.luminance), p.getCurrentTorch());
        if (written >= 0)
            written = tracePose(trace->out, world);
        if (written < 0)
            writeFailed = true;
    }
    finishedGame = false;
    for (const SHOT& shot : shots)
        if (shot.frame == frame && !saveShot(screen, shot.file))
            writeFailed = true;
    frame++;
}

bool Session::shotDue() const
{
    for (const SHOT& shot : shots)
        if (shot.frame == frame)
            return true;
    return false;
}

int Session::close()
{
    int recorded = commitOutput(record, !writeFailed);
    int traced = commitOutput(trace, !writeFailed);
    return recorded && traced && !writeFailed;
}
