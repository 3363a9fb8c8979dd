#pragma once

#include <cstdio>

// Writes a file through a temporary file beside it ("NAME.tmp") that is
// renamed over NAME only when everything was written, so a failure or a
// crash never leaves a half-written file behind. Dropped without commit(),
// the temporary file is removed and NAME is left as it was.
//
// A target that exists and is not a regular file (a device, a pipe) is
// written directly instead: renaming over it would put a regular file in
// its place. A folder cannot be opened for writing and is refused.
class ReplacingFile {
public:
    // Creates the temporary file (or opens the special target); `out` is
    // null when that failed.
    ReplacingFile(const char* path, const char* mode = "wb");
    ~ReplacingFile();
    ReplacingFile(const ReplacingFile&) = delete;
    ReplacingFile& operator=(const ReplacingFile&) = delete;

    // Closes the temporary file and renames it over the target. Returns 1,
    // or 0 (target untouched) when a write, the close or the rename failed.
    // `written` says whether the caller's own writes all succeeded.
    int commit(bool written = true);

    std::FILE* out = nullptr;
    // The system's error number of the opening, the close or the rename that
    // failed; 0 when none did.
    int error = 0;
    char path[512];
    char temporary[512];
    // The target is written in place (a special file).
    bool direct = false;
};
