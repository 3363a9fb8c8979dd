#include "base/Log.h"

void createLog(const char*) {}
void logPrint(const char*) {}
void logPrint(const char*, int) {}
void logPrint(int) {}
void logDeltaTime() {}
void logResetCount() {}
void logAddCount(int) {}
void logPrintCount() {}
