#pragma once

#include <string>

// The sizes desktops ask an application icon for.
const int iconSizes[] = {16, 32, 48, 64, 128, 256};

// Writes the icon at every size as FOLDER/NxN.png. Returns 1, or 0 with the
// reason in `error`.
int writeIcons(const std::string& folder, std::string& error);
