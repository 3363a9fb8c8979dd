#include "base/ReplacingFile.h"

#include "base/BoundedString.h"

ReplacingFile::ReplacingFile(const char* target, const char* mode)
{
    // A cut name would write beside the wrong file: refuse it.
    if (boundedCopy(path, sizeof path, target) && boundedFormat(temporary, sizeof temporary, "%s.tmp", target))
        out = std::fopen(temporary, mode);
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
    out = nullptr;
    if (!written || !closed || std::rename(temporary, path) != 0) {
        std::remove(temporary);
        return 0;
    }
    return 1;
}
