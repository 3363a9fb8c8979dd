#pragma once

#include <cstddef>
#include <cstdio>

// The file-system calls the game needs beyond the C library's.

// A file as the file system shows it: which file it is, its size and when it
// and its entry last changed (in nanoseconds). A file unchanged since its
// identity was taken still shows the same identity.
struct FILE_IDENTITY {
    unsigned long long device = 0;
    unsigned long long inode = 0;
    long long size = 0;
    long long modified = 0;
    long long changed = 0;
    bool operator==(const FILE_IDENTITY& o) const
    {
        return device == o.device && inode == o.inode && size == o.size && modified == o.modified &&
               changed == o.changed;
    }
};

// The identity of the file at `path`; false when it cannot be looked at.
bool fileIdentity(const char* path, FILE_IDENTITY* identity);

// Flushes what was written to `file` and waits until it is on the disk.
bool flushToDisk(std::FILE* file);

// Gives the file at `path` the second name `name`; false where the file
// system does not allow it (the caller then copies).
bool linkFile(const char* path, const char* name);

// The first `size` bytes of `file`, mapped read-only and read in at once:
// nothing is copied or zero-filled. Null when the file cannot be mapped
// (a pipe, a device). Unmapped with unmapFile; the file may be closed before.
const unsigned char* mapFile(std::FILE* file, std::size_t size);
void unmapFile(const unsigned char* bytes, std::size_t size);
