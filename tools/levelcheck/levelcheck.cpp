// levelcheck [--tiles FILE] [--game DIR] PATH...
// Loads level files as the game does and reports what their author needs to
// know. PATH is a game directory (every "*.lvl" file of its Level/ folder is
// checked) or a level file. The game directory is where "./Level/..." paths
// of special files and door destinations resolve: a PATH directory itself,
// otherwise --game or the current directory. Tiles come from --tiles, or
// from "tiles.dat" in the game directory.
//
// Per level: one summary line with the counts of the loaded level, then one
// line "FILE:LINE: error|warning: ..." for each problem: tiles the library
// lacks, ignored lines, numbers that did not parse, over-long lines and cut
// names, blocks cut short by the end of the file, a level without a map, and
// doors whose destination file is missing or lacks the target element; and
// a warning for a sign or sheet whose message names a key literally instead
// of through "%NNN", which the game replaces by the key bound now.
// Exits 1 when any level has an error, 2 on a usage error, 0 otherwise.
#include "assets/Tile.h"
#include "assets/TileList.h"
#include "level/Element.h"
#include "level/KindLine.h"
#include "level/Level.h"

#include <algorithm>
#include <cctype>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <map>
#include <set>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

struct Options {
    std::string tiles;
    std::string game;
    std::vector<std::string> paths;
};

bool isDirectory(const std::string& path)
{
    struct stat s;
    return stat(path.c_str(), &s) == 0 && S_ISDIR(s.st_mode);
}

bool isReadable(const std::string& path)
{
    std::FILE* f = std::fopen(path.c_str(), "r");
    if (!f)
        return false;
    std::fclose(f);
    return !isDirectory(path);
}

std::string absolute(const std::string& path)
{
    if (!path.empty() && path[0] == '/')
        return path;
    char cwd[PATH_MAX];
    if (!getcwd(cwd, sizeof cwd))
        return path;
    return path == "." ? std::string(cwd) : std::string(cwd) + "/" + path;
}

bool endsWith(const std::string& s, const char* tail)
{
    std::size_t n = std::strlen(tail);
    return s.size() >= n && s.compare(s.size() - n, n, tail) == 0;
}

// The level files of a game directory's Level/ folder, sorted by name; none
// when the folder is missing.
std::vector<std::string> levelsOf(const std::string& game)
{
    std::vector<std::string> files;
    DIR* dir = opendir((game + "/Level").c_str());
    if (!dir)
        return files;
    while (dirent* entry = readdir(dir)) {
        std::string file = game + "/Level/" + entry->d_name;
        if (endsWith(entry->d_name, ".lvl") && !isDirectory(file))
            files.push_back(file);
    }
    closedir(dir);
    std::sort(files.begin(), files.end());
    return files;
}

// Text from a level file as it can be shown on a terminal: control and
// other unprintable bytes become '?'.
std::string printable(const char* text)
{
    std::string s(text);
    for (char& c : s)
        if ((unsigned char)c < 32 || (unsigned char)c == 127)
            c = '?';
    return s;
}

const char* problemText(int problem)
{
    switch (problem) {
    case Level::NoteCannotOpen:
        return "cannot open";
    case Level::NoteMissingTile:
        return "tile not in the library, element dropped:";
    case Level::NoteIgnoredLine:
        return "ignored line:";
    case Level::NoteBadNumber:
        return "number or word does not parse:";
    case Level::NoteLongLine:
        return "line longer than 255 characters, read in pieces:";
    case Level::NoteCutText:
        return "name too long, cut:";
    case Level::NoteUnfinishedBlock:
        return "file ends inside a block, block dropped:";
    case Level::NoteNoMap:
        return "no map:";
    case Level::NoteOnlyFrame:
        return "one-frame element given another frame, its only frame is used:";
    }
    return "problem:";
}

bool isError(int problem)
{
    return problem != Level::NoteIgnoredLine && problem != Level::NoteCutText && problem != Level::NoteOnlyFrame;
}

// Names of keys a player may bind elsewhere; single letters and digits
// count too when quoted or after "press".
const char* const keyWords[] = {"space", "spacebar", "enter", "return", "escape", "esc", "tab",  "shift",
                                "ctrl",  "control",  "alt",   "backspace", "up",   "down", "left", "right"};

std::string lowerCase(std::string s)
{
    for (char& c : s)
        c = char(std::tolower((unsigned char)c));
    return s;
}

bool isKeyWord(const std::string& word, bool singleCharacters)
{
    if (singleCharacters && word.size() == 1 && std::isalnum((unsigned char)word[0]))
        return true;
    std::string lower = lowerCase(word);
    for (const char* key : keyWords)
        if (lower == key)
            return true;
    return false;
}

// The way a message names a key literally ('space', "E", (A), [E], <E>,
// "press X", "the space key"), or "" when it names none.
std::string literalKeyName(const std::string& message)
{
    static const std::string opening = "'\"([<", closing = "'\")]>";
    for (std::size_t i = 0; i < message.size(); i++) {
        std::size_t kind = opening.find(message[i]);
        if (kind == std::string::npos)
            continue;
        std::size_t end = message.find(closing[kind], i + 1);
        if (end != std::string::npos && isKeyWord(message.substr(i + 1, end - i - 1), true))
            return message.substr(i, end - i + 1);
    }
    std::vector<std::string> words;
    std::string word;
    for (char c : message + " ") {
        if (std::isalnum((unsigned char)c)) {
            word += c;
        } else if (!word.empty()) {
            words.push_back(word);
            word.clear();
        }
    }
    for (std::size_t i = 0; i + 1 < words.size(); i++) {
        const std::string& next = words[i + 1];
        if (lowerCase(words[i]) == "press" && isKeyWord(next, true))
            return words[i] + " " + next;
        if ((lowerCase(next) == "key" || lowerCase(next) == "bar") && isKeyWord(words[i], false))
            return words[i] + " " + next;
    }
    return "";
}

// Element names of `elements` of each destination level, loaded once.
class Destinations {
public:
    explicit Destinations(TileList* tiles) : tiles(tiles) {}

    // Null when the destination file cannot be read.
    const std::set<std::string>* namesOf(const std::string& path)
    {
        auto found = cache.find(path);
        if (found != cache.end())
            return found->second.readable ? &found->second.names : nullptr;
        Entry& entry = cache[path];
        entry.readable = isReadable(path);
        if (!entry.readable)
            return nullptr;
        Level level;
        level.load(path.c_str(), tiles, nullptr, nullptr);
        for (const Element* e : level.elements)
            entry.names.insert(e->name);
        return &entry.names;
    }

private:
    struct Entry {
        bool readable = false;
        std::set<std::string> names;
    };
    TileList* tiles;
    std::map<std::string, Entry> cache;
};

struct Counts {
    int levels = 0;
    int failed = 0;
    int warnings = 0;
};

// Checks one level; `shown` is the name printed for it. The current
// directory is the game directory.
void checkLevel(const std::string& path, const std::string& shown, TileList* tiles, Destinations* destinations,
                Counts* counts)
{
    int errors = 0;
    auto report = [&](int line, bool error, const std::string& file, const std::string& what) {
        if (line > 0)
            std::printf("%s:%d: %s: %s\n", file.c_str(), line, error ? "error" : "warning", what.c_str());
        else
            std::printf("%s: %s: %s\n", file.c_str(), error ? "error" : "warning", what.c_str());
        if (error)
            errors++;
        else
            counts->warnings++;
    };

    Level level;
    level.load(path.c_str(), tiles, nullptr, nullptr);
    counts->levels++;
    bool opened = true;
    for (const Level::READ_NOTE& n : level.readNotes)
        if (n.problem == Level::NoteCannotOpen && path == n.file)
            opened = false;
    if (opened)
        std::printf("%s: %d elements, %d entities, %d lights, %d doors, %d bonus, %d ennemies\n", shown.c_str(),
                    int(level.elements.size()), int(level.entities.size()), int(level.lights.size()),
                    int(level.doors.size()), int(level.bonus.size()), int(level.ennemies.size()));
    for (const Level::READ_NOTE& n : level.readNotes) {
        std::string file = path == n.file ? shown : printable(n.file);
        std::string what = problemText(n.problem);
        if (n.problem == Level::NoteCannotOpen || n.problem == Level::NoteNoMap)
            what += " " + printable(n.text);
        else
            what += " \"" + printable(n.text) + "\"";
        report(n.line, isError(n.problem), file, what);
    }

    std::set<const Tile*> reported;
    for (const Element* e : level.elements)
        if (e->tile && e->tile->frameCount < 1 && reported.insert(e->tile).second)
            report(0, true, shown,
                   std::string("tile \"") + printable(e->tile->name) +
                       "\" has no frames: the tile library is damaged or cut short");

    auto checkKeyNames = [&](const Element* e, const char* message) {
        std::string named = literalKeyName(message);
        if (!named.empty())
            report(0, false, shown,
                   "\"" + printable(e->name) + "\" names a key literally (" + printable(named.c_str()) +
                       "): write %NNN, the action's default key number, for the key bound now");
    };
    for (const Element* e : level.elements)
        if (e->kind == Element::Text)
            checkKeyNames(e, signMessage(e->text));
    for (const Element* e : level.bonus) {
        BONUS_LINE line = readBonusLine(e->text);
        if (line.word == BonusWordSheet)
            checkKeyNames(e, line.rest);
    }

    for (const DOOR* d : level.doors) {
        std::string where = std::string("door at (") + std::to_string(d->x) + ", " + std::to_string(d->y) + ")";
        if (!d->destination[0]) {
            report(0, true, shown, where + " has no destination");
            continue;
        }
        std::string destination = std::string("./Level/") + d->destination;
        std::string shownDestination = "./Level/" + printable(d->destination);
        // A door within the level itself needs no second load.
        std::set<std::string> own;
        const std::set<std::string>* names = &own;
        if (destination == path)
            for (const Element* e : level.elements)
                own.insert(e->name);
        else
            names = destinations->namesOf(destination);
        if (!names)
            report(0, true, shown, where + ": destination " + shownDestination + " does not exist");
        else if (!names->count(d->target))
            report(0, true, shown,
                   where + ": " + shownDestination + " has no element \"" + printable(d->target) + "\" to arrive at");
    }
    if (errors)
        counts->failed++;
}

int usage()
{
    std::fprintf(stderr, "usage: levelcheck [--tiles FILE] [--game DIR] (GAME_DIR | LEVEL_FILE)...\n");
    return 2;
}

} // namespace

int main(int argc, char** argv)
{
    Options options;
    for (int i = 1; i < argc; i++) {
        std::string arg = argv[i];
        if ((arg == "--tiles" || arg == "--game") && i + 1 < argc)
            (arg == "--tiles" ? options.tiles : options.game) = absolute(argv[++i]);
        else if (!arg.empty() && arg[0] == '-')
            return usage();
        else
            options.paths.push_back(arg);
    }
    if (options.paths.empty())
        return usage();

    Counts counts;
    for (const std::string& given : options.paths) {
        std::string path = absolute(given);
        // The game directory and the levels to check, as paths from it.
        std::string game;
        std::vector<std::pair<std::string, std::string>> levels;
        if (isDirectory(path)) {
            game = path;
            for (const std::string& file : levelsOf(game))
                levels.push_back({"./Level/" + file.substr(game.size() + std::strlen("/Level/")), file});
            if (levels.empty())
                std::printf("%s: no levels in %s/Level\n", given.c_str(), given.c_str());
        } else if (!isReadable(path)) {
            std::printf("%s: error: cannot open\n", given.c_str());
            counts.levels++;
            counts.failed++;
            continue;
        } else {
            game = options.game.empty() ? absolute(".") : options.game;
            levels.push_back({path, given});
        }
        if (levels.empty())
            continue;
        if (chdir(game.c_str()) != 0) {
            std::printf("%s: error: cannot enter the game directory %s\n", given.c_str(), game.c_str());
            counts.failed++;
            continue;
        }
        std::string tileFile = options.tiles.empty() ? game + "/tiles.dat" : options.tiles;
        if (!isReadable(tileFile)) {
            std::printf("%s: error: cannot open the tile library %s\n", given.c_str(), tileFile.c_str());
            counts.failed++;
            continue;
        }
        TileList tiles(tileFile.c_str());
        Destinations destinations(&tiles);
        for (const auto& level : levels)
            checkLevel(level.first, level.first.compare(0, 8, "./Level/") == 0 ? level.first : level.second,
                       &tiles, &destinations, &counts);
    }
    std::printf("levelcheck: %d levels, %d with errors, %d warnings\n", counts.levels, counts.failed,
                counts.warnings);
    return counts.failed ? 1 : 0;
}
