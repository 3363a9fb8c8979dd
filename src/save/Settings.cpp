#include "save/Settings.h"

#include "base/Log.h"
#include "base/ReplacingFile.h"
#include "platform/GameFolders.h"

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>

SETTINGS settings;

namespace {

// Far more than the file ever holds; a larger one is not ours.
const long settingsMaxBytes = 64 * 1024;

const char* const padNames[padActionCount] = {"pad jump", "pad action", "pad walk",
                                              "pad throw coin", "pad map", "pad pause"};

const char* const fullScreenName = "fullscreen";

// The number setting called `name` in `s`, with its range; null for a name
// this version does not know.
int* numberSetting(SETTINGS* s, const std::string& name, int* low, int* high)
{
    if (name == "brightness") {
        *low = brightnessLowest;
        *high = brightnessHighest;
        return &s->brightness;
    }
    for (int action = 0; action < padActionCount; action++)
        if (name == padNames[action]) {
            *low = 0;
            *high = padButtonLimit - 1;
            return &s->padButton[action];
        }
    return nullptr;
}

std::string trimmed(const std::string& text)
{
    std::size_t first = text.find_first_not_of(" \t");
    if (first == std::string::npos)
        return "";
    return text.substr(first, text.find_last_not_of(" \t") + 1 - first);
}

bool readWhole(const std::string& text, int low, int high, int* value)
{
    if (text.empty())
        return false;
    char* end = nullptr;
    errno = 0;
    long v = std::strtol(text.c_str(), &end, 10);
    if (errno != 0 || *end != '\0' || v < low || v > high)
        return false;
    *value = int(v);
    return true;
}

// Takes one line into `s`. Returns false when the line is damaged.
bool readLine(const std::string& line, SETTINGS* s)
{
    for (unsigned char c : line)
        if (c < 32 && c != '\t')
            return false;
    std::string text = trimmed(line);
    if (text.empty() || text[0] == '#') {
        s->otherLines.push_back(line);
        return true;
    }
    std::size_t equals = text.find('=');
    if (equals == std::string::npos)
        return false;
    std::string name = trimmed(text.substr(0, equals));
    std::string value = trimmed(text.substr(equals + 1));
    if (name.empty())
        return false;
    int low = 0, high = 0;
    if (int* number = numberSetting(s, name, &low, &high))
        return readWhole(value, low, high, number);
    if (name == fullScreenName) {
        int on = 0;
        if (!readWhole(value, 0, 1, &on))
            return false;
        s->fullScreen = on == 1;
        return true;
    }
    s->otherLines.push_back(line);
    return true;
}

// Reads the whole file; returns false when it is damaged or unreadable.
bool readSettingsFile(std::FILE* file, SETTINGS* s)
{
    std::string text;
    char buffer[4096];
    std::size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, file)) > 0) {
        text.append(buffer, n);
        if (long(text.size()) > settingsMaxBytes)
            return false;
    }
    if (std::ferror(file))
        return false;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos)
            end = text.size();
        std::string line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (!readLine(line, s))
            return false;
        start = end + 1;
    }
    return true;
}

} // namespace

const char* padActionName(int action)
{
    return action >= 0 && action < padActionCount ? padNames[action] : "";
}

int loadSettings(const char* path, SETTINGS* out)
{
    std::string where = playerFileToRead(path);
    std::FILE* file = std::fopen(where.c_str(), "rb");
    if (!file) {
        *out = SETTINGS();
        return 0;
    }
    SETTINGS read;
    bool whole = readSettingsFile(file, &read);
    std::fclose(file);
    if (!whole) {
        reportProblem("%s is not a settings file the game wrote; the default settings are used.\n", where.c_str());
        *out = SETTINGS();
        return 0;
    }
    *out = read;
    return 1;
}

int saveSettings(const char* path, const SETTINGS& in)
{
    std::string where = playerFileToWrite(path);
    ReplacingFile file(where.c_str(), "w");
    if (!file.out) {
        logPrint("failed to save settings\n");
        return 0;
    }
    bool written = std::fprintf(file.out, "brightness = %d\n%s = %d\n", in.brightness, fullScreenName,
                                in.fullScreen ? 1 : 0) > 0;
    for (int action = 0; action < padActionCount && written; action++)
        written = std::fprintf(file.out, "%s = %d\n", padNames[action], in.padButton[action]) > 0;
    for (std::size_t i = 0; i < in.otherLines.size() && written; i++)
        written = std::fprintf(file.out, "%s\n", in.otherLines[i].c_str()) >= 0;
    return file.commit(written);
}
