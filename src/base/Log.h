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

// A problem the player should hear about although the game goes on (a damaged
// optional file): printf-style, written to standard error, unlike the log.
void reportProblem(const char* format, ...);
