#include "base/BoundedString.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>

int boundedCopy(char* dst, std::size_t size, const char* src)
{
    if (size == 0)
        return 0;
    std::size_t n = std::strlen(src);
    std::size_t kept = n < size ? n : size - 1;
    std::memmove(dst, src, kept);
    dst[kept] = 0;
    return kept == n;
}

int boundedFormat(char* dst, std::size_t size, const char* format, ...)
{
    if (size == 0)
        return 0;
    va_list args;
    va_start(args, format);
    int n = std::vsnprintf(dst, size, format, args);
    va_end(args);
    if (n < 0) {
        dst[0] = 0;
        return 0;
    }
    return std::size_t(n) < size;
}
