#include "base/ReplacingFile.h"

#include "base/BoundedString.h"

#include <cerrno>
#include <sys/stat.h>

namespace {

bool isSpecialFile(const char* path)
{
    struct stat status;
    return stat(path, &status) == 0 && !S_ISREG(status.st_mode);
}

} // namespace

ReplacingFile::ReplacingFile(const char* target, const char* mode)
{
    // A cut name would write beside the wrong file: refuse it.
    if (!boundedCopy(path, sizeof path, target) || !boundedFormat(temporary, sizeof temporary, "%s.tmp", target)) {
        error = ENAMETOOLONG;
        return;
    }
    direct = isSpecialFile(path);
    out = std::fopen(direct ? path : temporary, mode);
    if (!out)
        error = errno;
}

ReplacingFile::~ReplacingFile()
{
    if (!out)
        return;
    std::fclose(out);
    if (!direct)
        std::remove(temporary);
}

int ReplacingFile::commit(bool written)
{
    if (!out)
        return 0;
    bool closed = std::fclose(out) == 0;
    if (!closed)
        error = errno;
    out = nullptr;
    if (direct)
        return written && closed;
    if (written && closed && std::rename(temporary, path) == 0)
        return 1;
    if (written && closed)
        error = errno;
    std::remove(temporary);
    return 0;
}
