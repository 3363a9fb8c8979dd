#pragma once

#include <cstddef>

// The rooms are the files of the game's "Level/" folder. Doors, scenes and
// the command line name a room by its name in that folder ("metro2.lvl");
// slots store the path it was loaded from ("./Level/metro2.lvl"). A name from
// any of them must not lead out of the folder: a damaged slot or level file
// would otherwise have the game read any file of the machine as a room.

// Whether `name` stays inside the folder: not empty, relative, and without
// ".." parts.
bool levelNameStaysInside(const char* name);
// Whether `path` is the loaded path of a name that stays inside.
bool levelPathStaysInside(const char* path);
// The loaded path of `name` ("./Level/NAME"). Returns 1, or 0 with `path`
// empty (naming no file) when the name leaves the folder or does not fit.
int levelPathOf(const char* name, char* path, std::size_t size);
// Whether `path` stays inside the folder and names a regular file there (not
// a folder, a device or a pipe).
bool levelFileExists(const char* path);
