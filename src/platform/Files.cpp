#include "platform/Files.h"

#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

bool fileIdentity(const char* path, FILE_IDENTITY* identity)
{
    struct stat s;
    if (stat(path, &s) != 0)
        return false;
    const long long second = 1000000000LL;
    identity->device = s.st_dev;
    identity->inode = s.st_ino;
    identity->size = s.st_size;
    identity->modified = s.st_mtim.tv_sec * second + s.st_mtim.tv_nsec;
    identity->changed = s.st_ctim.tv_sec * second + s.st_ctim.tv_nsec;
    return true;
}

bool flushToDisk(std::FILE* file)
{
    return std::fflush(file) == 0 && fsync(fileno(file)) == 0;
}

bool linkFile(const char* path, const char* name)
{
    return link(path, name) == 0;
}

const unsigned char* mapFile(std::FILE* file, std::size_t size)
{
    void* bytes = mmap(nullptr, size, PROT_READ, MAP_PRIVATE | MAP_POPULATE, fileno(file), 0);
    return bytes == MAP_FAILED ? nullptr : static_cast<const unsigned char*>(bytes);
}

void unmapFile(const unsigned char* bytes, std::size_t size)
{
    munmap(const_cast<unsigned char*>(bytes), size);
}
