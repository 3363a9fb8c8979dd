#include "base/TextReader.h"

#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <cstring>

bool readWholeNumber(const char* text, long long lowest, long long highest, long long* value)
{
    if (!text || !*text)
        return false;
    char* end = nullptr;
    errno = 0;
    long long v = std::strtoll(text, &end, 10);
    if (errno != 0 || end == text || *end != '\0' || v < lowest || v > highest)
        return false;
    *value = v;
    return true;
}

namespace {

template <class NUMBER> bool readWholeNumberAs(const char* text, NUMBER lowest, NUMBER highest, NUMBER* value)
{
    long long v = 0;
    if (!readWholeNumber(text, (long long)lowest, (long long)highest, &v))
        return false;
    *value = NUMBER(v);
    return true;
}

} // namespace

bool readWholeNumber(const char* text, long lowest, long highest, long* value)
{
    return readWholeNumberAs(text, lowest, highest, value);
}

bool readWholeNumber(const char* text, int lowest, int highest, int* value)
{
    return readWholeNumberAs(text, lowest, highest, value);
}

bool startsWith(const char* text, const char* prefix)
{
    return std::strncmp(text, prefix, std::strlen(prefix)) == 0;
}

bool endsWith(const std::string& text, const char* suffix)
{
    std::size_t n = std::strlen(suffix);
    return text.size() >= n && text.compare(text.size() - n, n, suffix) == 0;
}

bool firstWordIs(const char* text, const char* word)
{
    while (*text && std::isspace((unsigned char)*text))
        text++;
    std::size_t n = 0;
    while (text[n] && !std::isspace((unsigned char)text[n]))
        n++;
    return n == std::strlen(word) && std::strncmp(text, word, n) == 0;
}

std::string stemOf(const std::string& path)
{
    std::size_t slash = path.find_last_of('/');
    std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    return name.substr(0, name.find('.'));
}

bool readLine(std::FILE* in, char* line, std::size_t size)
{
    int c = std::fgetc(in);
    if (c == EOF)
        return false;
    std::size_t n = 0;
    while (c != EOF && c != '\n') {
        if (n + 1 < size)
            line[n++] = char(c);
        c = std::fgetc(in);
    }
    if (n > 0 && line[n - 1] == '\r')
        n--;
    line[n] = 0;
    return true;
}
