#include "base/LevelPath.h"

#include "base/BoundedString.h"

#include <cstring>
#include <sys/stat.h>

namespace {

const char levelFolder[] = "./Level/";

} // namespace

bool levelNameStaysInside(const char* name)
{
    if (!*name || *name == '/')
        return false;
    // Every part between slashes must differ from "..".
    for (const char* part = name; part;) {
        const char* slash = std::strchr(part, '/');
        std::size_t length = slash ? std::size_t(slash - part) : std::strlen(part);
        if (length == 2 && part[0] == '.' && part[1] == '.')
            return false;
        part = slash ? slash + 1 : nullptr;
    }
    return true;
}

bool levelPathStaysInside(const char* path)
{
    const std::size_t prefix = sizeof levelFolder - 1;
    return std::strncmp(path, levelFolder, prefix) == 0 && levelNameStaysInside(path + prefix);
}

int levelPathOf(const char* name, char* path, std::size_t size)
{
    if (levelNameStaysInside(name) && boundedFormat(path, size, "%s%s", levelFolder, name))
        return 1;
    if (size > 0)
        *path = '\0';
    return 0;
}

bool levelFileExists(const char* path)
{
    struct stat status;
    return levelPathStaysInside(path) && stat(path, &status) == 0 && S_ISREG(status.st_mode);
}
