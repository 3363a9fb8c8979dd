#include "app/Session.h"

#include "app/Pad.h"
#include "audio/Sound.h"
#include "base/BoundedString.h"
#include "base/ReplacingFile.h"
#include "render/PngImage.h"
#include "level/Level.h"
#include "player/Player.h"
#include "render/Screen.h"
#include "world/World.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <string>
#include <unordered_map>

namespace {

// Removes the blanks around a line.
char* trimLine(char* line)
{
    while (*line == ' ' || *line == '\t')
        line++;
    std::size_t n = std::strlen(line);
    while (n > 0 && std::strchr(" \t\r", line[n - 1]))
        line[--n] = '\0';
    return line;
}

// The longest line of a replay, without its comment.
const std::size_t replayLineMax = 511;

enum class LineRead { line, end, notText, tooLong };

// Reads one line of a replay without its line break and its comment (from
// '#' to the end of the line, of any length). A NUL byte ends the reading:
// the file is not text, and a device such as /dev/zero would never end.
LineRead readLine(std::FILE* in, char (&line)[replayLineMax + 1])
{
    std::size_t length = 0;
    bool comment = false, any = false;
    int c;
    while ((c = getc_unlocked(in)) != EOF && c != '\n') {
        any = true;
        if (c == '\0')
            return LineRead::notText;
        comment = comment || c == '#';
        if (comment)
            continue;
        if (length == replayLineMax)
            return LineRead::tooLong;
        line[length++] = char(c);
    }
    line[length] = '\0';
    return c == EOF && !any ? LineRead::end : LineRead::line;
}

// The key symbol of each SDL key name; the first symbol of a name shared by
// several. Built when a replay is read: SDL names its keys once video is up.
std::unordered_map<std::string, int> keyNameTable()
{
    std::unordered_map<std::string, int> table;
    for (int key = 0; key < SDLK_LAST; key++)
        table.emplace(SDL_GetKeyName(SDLKey(key)), key);
    return table;
}

// "FRAME down|up KEY", with FRAME from 0 to INT_MAX.
bool parseKeyLine(const char* line, const std::unordered_map<std::string, int>& names, REPLAY_KEY* k)
{
    char* end = nullptr;
    errno = 0;
    long frame = std::strtol(line, &end, 10);
    if (end == line || errno != 0 || frame < 0 || frame > INT_MAX || (*end != ' ' && *end != '\t'))
        return false;
    const char* way = end + std::strspn(end, " \t");
    std::size_t wayLength = std::strcspn(way, " \t");
    bool down = wayLength == 4 && std::strncmp(way, "down", 4) == 0;
    bool up = wayLength == 2 && std::strncmp(way, "up", 2) == 0;
    const char* name = way + wayLength;
    name += std::strspn(name, " \t");
    if (!down && !up)
        return false;
    int padInput = padInputFromName(name);
    if (padInput >= 0) {
        *k = REPLAY_KEY{int(frame), down, 0, padInput};
        return true;
    }
    auto key = names.find(name);
    if (key == names.end())
        return false;
    *k = REPLAY_KEY{int(frame), down, key->second};
    return true;
}

} // namespace

int readReplayKeys(std::FILE* in, const char* name, std::vector<REPLAY_KEY>* keys, char* error, std::size_t size)
{
    const std::unordered_map<std::string, int> names = keyNameTable();
    char buffer[replayLineMax + 1];
    for (int lineNumber = 1;; lineNumber++) {
        LineRead read = readLine(in, buffer);
        if (read == LineRead::end)
            break;
        const char* fault = read == LineRead::notText ? "not a line of text"
                            : read == LineRead::tooLong ? "line too long"
                                                        : nullptr;
        const char* line = fault ? "" : trimLine(buffer);
        REPLAY_KEY k;
        if (*line && !parseKeyLine(line, names, &k))
            fault = "expected FRAME down|up KEY";
        if (fault) {
            boundedFormat(error, size, "%s:%d: %s", name, lineNumber, fault);
            return 0;
        }
        if (*line)
            keys->push_back(k);
    }
    if (std::ferror(in)) {
        boundedFormat(error, size, "cannot read %s", name);
        return 0;
    }
    std::stable_sort(keys->begin(), keys->end(),
                     [](const REPLAY_KEY& a, const REPLAY_KEY& b) { return a.frame < b.frame; });
    return 1;
}

namespace {

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
    const PLAYER_STATE& s = p.state;
    const AnimationControler& a = *p.controler;
    return std::fprintf(out, " %d %d %d %d %d %d %d %d %.9g %.9g %d %d %d %d %d %.9g %.9g %d %d %d", s.oldX, s.oldY,
                        p.pushTimer, s.torch, s.moving, s.run, s.jumpReleased, p.flying, double(s.dy), double(s.hitted),
                        p.bbox.x, p.bbox.y, p.bbox.w, p.bbox.h, a.seq, double(a.frame), double(a.speed), a.moved,
                        world.frameCount, world.level->updates);
}

} // namespace

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
    int read = readReplayKeys(f, path, &replay, error, sizeof error);
    std::fclose(f);
    return read;
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
        const PLAYER_STATE& s = p.state;
        const char* room = *world.level->getName() ? world.level->getName() : "-";
        int written = std::fprintf(trace->out, "%d %s %d %d %.2f %d %d %d %d %d %d %d %d %d %d %d %d %d %.3f %d %d",
                                   frame, room, s.x, s.y, double(s.dy), s.way, s.life, s.coin, s.diamond, p.nKey,
                                   s.jumping, s.onLadder, s.crawl, s.visible, world.camX, world.camY,
                                   world.moviePlaying, finishedGame ? int(World::StageFinished) : world.gameOver.stage,
                                   double(world.luminance), p.getCurrentTorch(), s.torch);
        if (written >= 0)
            written = tracePose(trace->out, world);
        // Last, the track the mixer was told to play.
        if (written >= 0)
            written = std::fprintf(trace->out, " %d\n", musicPlaying);
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
