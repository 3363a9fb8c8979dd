#include "authoring/TileManifest.h"

#include "base/BoundedString.h"
#include "base/TextReader.h"
#include "render/PngImage.h"
#include "assets/Tile.h"
#include "assets/TileContainer.h"

#include <climits>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <map>
#include <sstream>

namespace {

bool parseFloat(const std::string& text, float* value)
{
    if (text.empty())
        return false;
    errno = 0;
    char* end = nullptr;
    float v = std::strtof(text.c_str(), &end);
    if (errno != 0 || *end != 0)
        return false;
    *value = v;
    return true;
}

std::string resolve(const std::string& folder, const std::string& path)
{
    if (path.empty() || path[0] == '/' || folder.empty())
        return path;
    return folder + "/" + path;
}

// Loads a side picture (depth or glow) that must match the tile's picture.
int loadSidePicture(const std::string& file, const PngImage& image, const char* what, PngImage* side,
                    char* reason, size_t size)
{
    if (!side->load(file.c_str())) {
        boundedFormat(reason, size, "cannot read %s image %s: %s", what, file.c_str(), side->error);
        return 0;
    }
    if (side->width != image.width || side->height != image.height) {
        boundedFormat(reason, size, "%s image %s is %dx%d, not %dx%d like the tile image", what, file.c_str(),
                      side->width, side->height, image.width, image.height);
        return 0;
    }
    return 1;
}

} // namespace

int TileManifest::parseLine(const char* line, const std::string& folder, TILE_SOURCE* source, char* reason,
                            size_t size)
{
    std::istringstream words(line);
    std::string word;
    if (!(words >> word) || word[0] == '#')
        return -1;

    *source = TILE_SOURCE();
    if (word.size() > 255) {
        boundedFormat(reason, size, "tile name longer than 255 characters");
        return 0;
    }
    if (!endsWith(word, ".til") && !endsWith(word, ".anm")) {
        boundedFormat(reason, size, "tile name %s does not end in .til or .anm", word.c_str());
        return 0;
    }
    boundedCopy(source->name, sizeof source->name, word.c_str());
    if (!(words >> word)) {
        boundedFormat(reason, size, "tile %s has no image", source->name);
        return 0;
    }
    source->image = resolve(folder, word);

    std::map<std::string, bool> seen;
    while (words >> word) {
        size_t equals = word.find('=');
        std::string key = word.substr(0, equals);
        std::string value = equals == std::string::npos ? "" : word.substr(equals + 1);
        if (equals == std::string::npos || value.empty()) {
            boundedFormat(reason, size, "expected key=value, found %s", word.c_str());
            return 0;
        }
        if (seen[key]) {
            boundedFormat(reason, size, "%s= given twice", key.c_str());
            return 0;
        }
        seen[key] = true;
        if (key == "frame") {
            if (!readWholeNumber(value.c_str(), INT_MIN, INT_MAX, &source->frameWidth) || source->frameWidth < 1) {
                boundedFormat(reason, size, "frame width %s is not a positive whole number", value.c_str());
                return 0;
            }
        } else if (key == "depth") {
            if (!readWholeNumber(value.c_str(), INT_MIN, INT_MAX, &source->depthValue))
                source->depthImage = resolve(folder, value);
        } else if (key == "glow") {
            if (parseFloat(value, &source->glowValue)) {
                if (!(source->glowValue >= 0.0f && source->glowValue <= 1.0f)) {
                    boundedFormat(reason, size, "glow %s is not between 0 and 1", value.c_str());
                    return 0;
                }
            } else {
                source->glowImage = resolve(folder, value);
            }
        } else if (key == "extra") {
            std::istringstream items(value);
            std::string item;
            while (std::getline(items, item, ',')) {
                int v;
                if (!readWholeNumber(item.c_str(), INT_MIN, INT_MAX, &v)) {
                    boundedFormat(reason, size, "extra value '%s' is not a whole number", item.c_str());
                    return 0;
                }
                source->extra.push_back(v);
            }
            if (value.back() == ',' || int(source->extra.size()) > Tile::maxExtra) {
                boundedFormat(reason, size, "bad extra list %s", value.c_str());
                return 0;
            }
        } else {
            boundedFormat(reason, size, "unknown option %s (frame, depth, glow or extra)", key.c_str());
            return 0;
        }
    }
    return 1;
}

int TileManifest::buildTile(const TILE_SOURCE& source, Tile* tile, char* reason, size_t size)
{
    PngImage image;
    if (!image.load(source.image.c_str())) {
        boundedFormat(reason, size, "cannot read image %s: %s", source.image.c_str(), image.error);
        return 0;
    }
    int frameWidth = source.frameWidth ? source.frameWidth : image.height;
    if (image.width % frameWidth != 0) {
        boundedFormat(reason, size, "image %s is %d pixels wide, not a multiple of the frame width %d",
                      source.image.c_str(), image.width, frameWidth);
        return 0;
    }
    int frames = image.width / frameWidth;
    if (frameWidth > Tile::maxSide || image.height > Tile::maxSide || frames > Tile::maxFrames) {
        boundedFormat(reason, size, "%d frames of %dx%d exceed the limits (%d frames of at most %dx%d)", frames,
                      frameWidth, image.height, Tile::maxFrames, Tile::maxSide, Tile::maxSide);
        return 0;
    }
    PngImage depth, glow;
    if (!source.depthImage.empty() && !loadSidePicture(source.depthImage, image, "depth", &depth, reason, size))
        return 0;
    if (!source.glowImage.empty() && !loadSidePicture(source.glowImage, image, "glow", &glow, reason, size))
        return 0;

    tile->create(frameWidth, image.height, frames, int(source.extra.size()));
    boundedCopy(tile->name, sizeof tile->name, source.name);
    for (int i = 0; i < tile->extraCount; i++)
        tile->extra[i] = source.extra[size_t(i)];
    for (int f = 0; f < frames; f++) {
        for (int i = 0; i < frameWidth; i++) {
            for (int j = 0; j < image.height; j++) {
                int x = f * frameWidth + i;
                TILE_PIXEL& p = tile->frames[f].data[i * image.height + j];
                uint32_t c = image.get(x, j);
                p.colour = (c >> 24) == 0 ? 0 : int(c);
                p.depth = depth.width ? int((depth.get(x, j) >> 16) & 255) : source.depthValue;
                float g = glow.width ? float((glow.get(x, j) >> 16) & 255) / 255.0f : source.glowValue;
                p.incandescence = p.colour ? g : 0.0f;
            }
        }
    }
    return 1;
}

int TileManifest::read(const char* manifest, TileContainer* container)
{
    std::ifstream in(manifest);
    if (!in) {
        boundedFormat(error, sizeof error, "%s: cannot open the manifest", manifest);
        return 0;
    }
    std::string folder(manifest);
    size_t slash = folder.rfind('/');
    folder = slash == std::string::npos ? "" : folder.substr(0, slash == 0 ? 1 : slash);

    std::map<std::string, int> listed;
    std::string line;
    char reason[768];
    for (int number = 1; std::getline(in, line); number++) {
        if (line.size() > size_t(maxLine)) {
            boundedFormat(error, sizeof error, "%s:%d: line longer than %d characters", manifest, number, maxLine);
            return 0;
        }
        TILE_SOURCE source;
        int parsed = parseLine(line.c_str(), folder, &source, reason, sizeof reason);
        if (parsed < 0)
            continue;
        if (parsed && listed.count(source.name)) {
            boundedFormat(reason, sizeof reason, "tile %s is already listed on line %d", source.name,
                          listed[source.name]);
            parsed = 0;
        }
        Tile tile;
        if (parsed && buildTile(source, &tile, reason, sizeof reason) && !container->add(tile)) {
            boundedCopy(reason, sizeof reason, container->error);
            parsed = 0;
        }
        if (!parsed || !tile.frames) {
            boundedFormat(error, sizeof error, "%s:%d: %s", manifest, number, reason);
            return 0;
        }
        listed[source.name] = number;
    }
    return 1;
}
