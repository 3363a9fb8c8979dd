#pragma once

#include <cstddef>
#include <string>
#include <vector>

class Tile;
class TileContainer;

// One tile line of a tile manifest:
//     NAME IMAGE [frame=W] [depth=D] [glow=G] [extra=I,I,...]
// Image paths are already resolved against the manifest's folder.
struct TILE_SOURCE {
    char name[256] = "";
    std::string image;
    int frameWidth = 0;            // 0: the image height
    int depthValue = 0;            // used when depthImage is empty
    std::string depthImage;        // grey (red channel) is the depth
    float glowValue = 0.0f;        // used when glowImage is empty
    std::string glowImage;         // grey 0..255 is incandescence 0..1
    std::vector<int> extra;
};

// Reads tile manifests: the text files that list the tiles of a container,
// each made from a PNG of its frames side by side and optional depth and
// incandescence pictures. Blank lines and lines starting with '#' are skipped.
class TileManifest {
public:
    // Longest manifest line accepted.
    static const int maxLine = 4096;

    // Parses one line. Returns 1 for a tile line, -1 for a blank line or a
    // comment, 0 for a bad line with the reason in `reason`.
    static int parseLine(const char* line, const std::string& folder, TILE_SOURCE* source, char* reason,
                         std::size_t size);
    // Makes the tile from its pictures: pixels with alpha 0 become colour 0
    // and carry no incandescence. Returns 1, or 0 with the reason.
    static int buildTile(const TILE_SOURCE& source, Tile* tile, char* reason, std::size_t size);

    // Reads every tile of `manifest` in order into `container`. Returns 1,
    // or 0 with "MANIFEST:LINE: reason" in `error` at the first bad line.
    int read(const char* manifest, TileContainer* container);

    char error[1024] = "";
};
