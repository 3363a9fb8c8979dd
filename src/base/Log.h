#pragma once

// Diagnostic log operations. The game calls them from many places, but they
// write nothing: no log file exists.
void createLog(const char* file);
void logPrint(const char* text);
void logPrint(const char* text, int value);
void logPrint(int value);
void logDeltaTime();
void logResetCount();
void logAddCount(int n);
void logPrintCount();
