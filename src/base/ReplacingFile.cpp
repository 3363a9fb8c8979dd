#include "base/ReplacingFile.h"

#include "base/BoundedString.h"

#include <cerrno>

ReplacingFile::ReplacingFile(const char* target, const char* mode)
{
    // A cut name would write beside the wrong file: refuse it.
    if (!boundedCopy(path, sizeof path, target) || !boundedFormat(temporary, sizeof temporary, "%s.tmp", target)) {
        error = ENAMETOOLONG;
        return;
    }
    out = std::fopen(temporary, mode);
    if (!out)
        error = errno;
}

ReplacingFile::~ReplacingFile()
{
    if (out) {
        std::fclose(out);
        std::remove(temporary);
    }
}

int ReplacingFile::commit(bool written)
{
    if (!out)
        return 0;
    bool closed = std::fclose(out) == 0;
    if (!closed)
        error = errno;
    out = nullptr;
    if (written && closed && std::rename(temporary, path) == 0)
        return 1;
    if (written && closed)
        error = errno;
    std::remove(temporary);
    return 0;
}
