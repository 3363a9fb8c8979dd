#include "Album.h"

#include "base/ReplacingFile.h"
#include "render/PngImage.h"

#include <cmath>
#include <cstdio>
#include <map>
#include <sys/stat.h>

namespace {

bool exists(const std::string& file)
{
    struct stat st;
    return stat(file.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

// Writes text through a temporary file renamed over `file`.
bool writeText(const std::string& file, const std::string& text)
{
    ReplacingFile out(file.c_str());
    if (!out.out)
        return false;
    return out.commit(std::fwrite(text.data(), 1, text.size(), out.out) == text.size()) == 1;
}

// The value shared by every non-empty pixel, or false when they differ.
template <class T, class Value>
bool uniform(const Picture& p, Value value, T& out)
{
    bool first = true;
    out = T();
    for (size_t i = 0; i < p.colour.size(); i++) {
        if ((p.colour[i] >> 24) == 0)
            continue;
        T v = value(i);
        if (first) {
            out = v;
            first = false;
        } else if (v != out)
            return false;
    }
    return true;
}

std::string number(float v)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.3g", double(v));
    return text;
}

} // namespace

Picture& Album::add(const std::string& name, int width, int height, int frames)
{
    pictures.emplace_back(name, width, height, frames);
    return pictures.back();
}

Picture& Album::addControl(const std::string& name, int width, int height, int frames)
{
    Picture& p = add(name, width, height, frames);
    p.control = true;
    return p;
}

const Picture* Album::find(const std::string& name) const
{
    for (const Picture& p : pictures)
        if (p.name == name)
            return &p;
    return nullptr;
}

int Album::writePicture(const Picture& gen, const std::string& outDir, const std::string& contentDir,
    std::string& line)
{
    const std::string image = gen.name + ".png";
    Picture p = gen;
    PngImage png;
    bool replaced = !contentDir.empty() && exists(contentDir + "/" + image);
    if (replaced) {
        // A hand-made picture keeps the tile's frame count; depth and glow
        // come from its own companions when given, else from the generated
        // maps when the size matches, else from the generated picture's
        // main depth and no glow.
        if (!png.load((contentDir + "/" + image).c_str())) {
            error = contentDir + "/" + image + ": " + png.error;
            return 0;
        }
        if (png.width % gen.frames != 0) {
            error = contentDir + "/" + image + ": width " + std::to_string(png.width)
                + " is not a multiple of the tile's " + std::to_string(gen.frames) + " frames";
            return 0;
        }
        if (png.width != gen.width * gen.frames || png.height != gen.height) {
            std::map<int, int> votes;
            for (size_t i = 0; i < gen.depth.size(); i++)
                if (gen.colour[i] >> 24)
                    votes[gen.depth[i]]++;
            int mainDepth = 0, best = -1;
            for (auto& v : votes)
                if (v.second > best) {
                    best = v.second;
                    mainDepth = v.first;
                }
            p = Picture(gen.name, png.width / gen.frames, png.height, gen.frames);
            p.control = gen.control;
            for (int& d : p.depth)
                d = mainDepth;
        }
        p.colour = png.pixels;
    }

    line = gen.name + " " + image + " frame=" + std::to_string(p.width);

    PngImage out;
    out.resize(p.width * p.frames, p.height);
    out.pixels = p.colour;
    if (!replaced && !out.save((outDir + "/" + image).c_str())) {
        error = outDir + "/" + image + ": " + out.error;
        return 0;
    }
    if (replaced && !png.save((outDir + "/" + image).c_str())) {
        error = outDir + "/" + image + ": " + png.error;
        return 0;
    }

    // Depth and glow: a hand-made companion wins, then a single number when
    // every non-empty pixel shares it, else a grey map.
    struct Layer {
        const char* key;
        std::string file;
    } layers[2] = {{"depth", gen.name + ".depth.png"}, {"glow", gen.name + ".glow.png"}};
    for (int k = 0; k < 2; k++) {
        const std::string& file = layers[k].file;
        if (!contentDir.empty() && exists(contentDir + "/" + file)) {
            PngImage companion;
            if (!companion.load((contentDir + "/" + file).c_str()) || !companion.save((outDir + "/" + file).c_str())) {
                error = contentDir + "/" + file + ": " + companion.error;
                return 0;
            }
            line += std::string(" ") + layers[k].key + "=" + file;
            continue;
        }
        if (k == 0) {
            int d;
            if (uniform<int>(p, [&](size_t i) { return p.depth[i]; }, d)) {
                if (d != 0)
                    line += " depth=" + std::to_string(d);
                continue;
            }
        } else {
            int g;
            if (uniform<int>(p, [&](size_t i) { return int(std::lround(p.glow[i] * 255.0f)); }, g)) {
                if (g != 0)
                    line += " glow=" + number(g / 255.0f);
                continue;
            }
        }
        PngImage map;
        map.resize(p.width * p.frames, p.height, 0xFF000000u);
        for (size_t i = 0; i < p.colour.size(); i++) {
            int v = k == 0 ? p.depth[i] : int(std::lround(p.glow[i] * 255.0f));
            v = v < 0 ? 0 : (v > 255 ? 255 : v);
            map.pixels[i] = 0xFF000000u | (uint32_t(v) << 16) | (uint32_t(v) << 8) | uint32_t(v);
        }
        if (!map.save((outDir + "/" + file).c_str())) {
            error = outDir + "/" + file + ": " + map.error;
            return 0;
        }
        line += std::string(" ") + layers[k].key + "=" + file;
    }
    return 1;
}

int Album::write(const std::string& outDir, const std::string& contentDir)
{
    std::map<std::string, int> seen;
    std::string manifests[2];
    for (int k = 0; k < 2; k++)
        manifests[k] = std::string("# Generated by artgen: one tile a line, NAME IMAGE [frame=W] [depth=D] [glow=G].\n")
            + "# Depths are absolute for a picture placed at depth 0: 10 is rock, 0 the farthest wall.\n";
    for (const Picture& p : pictures) {
        if (seen[p.name]++) {
            error = "two pictures are named " + p.name;
            return 0;
        }
        std::string line;
        if (!writePicture(p, outDir, contentDir, line))
            return 0;
        manifests[p.control ? 1 : 0] += line + "\n";
    }
    if (!writeText(outDir + "/tiles.manifest", manifests[0])
        || !writeText(outDir + "/tiles_control.manifest", manifests[1])) {
        error = "cannot write the manifests in " + outDir;
        return 0;
    }
    return 1;
}
