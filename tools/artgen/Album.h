#pragma once

#include "Picture.h"

#include <deque>
#include <string>

// Every picture of the game in container order, and how they are written
// out as the PNG sources and the two manifests that the tile packer reads.
class Album {
public:
    // Adds a picture and returns it for drawing. Names must be unique.
    Picture& add(const std::string& name, int width, int height, int frames = 1);
    Picture& addControl(const std::string& name, int width, int height, int frames = 1);
    const Picture* find(const std::string& name) const;

    // Writes NAME.png (and NAME.depth.png, NAME.glow.png when the picture's
    // depth or incandescence varies) into outDir, then "tiles.manifest" and
    // "tiles_control.manifest". A PNG of the same file name in contentDir
    // (may be empty) replaces the generated one. Returns 1, or 0 with the
    // reason in `error`.
    int write(const std::string& outDir, const std::string& contentDir);

    // A deque, so a picture being drawn stays in place while others are added.
    std::deque<Picture> pictures;
    std::string error;

private:
    int writePicture(const Picture& p, const std::string& outDir, const std::string& contentDir,
        std::string& line);
};
