#include "base/Log.h"

#include <cstdarg>
#include <cstdio>

void createLog(const char*) {}
void logPrint(const char*) {}
void logPrint(const char*, int) {}
void logPrint(int) {}
void logDeltaTime() {}
void logResetCount() {}
void logAddCount(int) {}
void logPrintCount() {}

void reportProblem(const char* format, ...)
{
    std::va_list arguments;
    va_start(arguments, format);
    std::fputs("gloamer: ", stderr);
    std::vfprintf(stderr, format, arguments);
    va_end(arguments);
}
