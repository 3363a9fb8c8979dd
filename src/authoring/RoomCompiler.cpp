#include "authoring/RoomCompiler.h"

#include "authoring/RoomCompilerPasses.h"

using namespace roomsource;

RoomCompiler::RoomCompiler() = default;
RoomCompiler::~RoomCompiler() = default;

int RoomCompiler::loadArt(const char* manifest)
{
    std::FILE* in = std::fopen(manifest, "r");
    if (!in) {
        boundedFormat(error, sizeof error, "%s: cannot open the tile manifest", manifest);
        return 0;
    }
    std::string folder = manifest;
    std::size_t slash = folder.find_last_of('/');
    folder = slash == std::string::npos ? "" : folder.substr(0, slash);
    std::vector<char> buffer(TileManifest::maxLine + 2);
    int number = 0, ok = 1;
    while (ok && std::fgets(buffer.data(), int(buffer.size()), in)) {
        number++;
        std::unique_ptr<TILE_SOURCE> source(new TILE_SOURCE());
        char reason[256];
        int kind = TileManifest::parseLine(buffer.data(), folder, source.get(), reason, sizeof reason);
        if (kind == 0) {
            boundedFormat(error, sizeof error, "%s:%d: %s", manifest, number, reason);
            ok = 0;
        } else if (kind == 1 && !sources.count(source->name)) {
            std::string name = source->name;
            sources[name] = std::move(source);
        }
    }
    std::fclose(in);
    return ok;
}

Tile* RoomCompiler::addTile(const char* name, int width, int height, int frames)
{
    std::unique_ptr<Tile> t(new Tile());
    if (!t->create(width, height, frames, 0))
        return nullptr;
    boundedCopy(t->name, sizeof t->name, name);
    Tile* raw = t.get();
    tiles[name] = std::move(t);
    return raw;
}

const Tile* RoomCompiler::tile(const std::string& name)
{
    auto it = tiles.find(name);
    if (it != tiles.end())
        return it->second.get();
    auto source = sources.find(name);
    if (source == sources.end())
        return nullptr;
    std::unique_ptr<Tile> t(new Tile());
    char reason[256];
    if (!TileManifest::buildTile(*source->second, t.get(), reason, sizeof reason))
        return nullptr;
    Tile* raw = t.get();
    tiles[name] = std::move(t);
    return raw;
}

int RoomCompiler::compileFile(const char* path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        boundedFormat(error, sizeof error, "%s: cannot open the room source", path);
        return 0;
    }
    std::ostringstream text;
    text << in.rdbuf();
    return compile(path, text.str());
}

int RoomCompiler::compile(const char* file, const std::string& text)
{
    error[0] = '\0';
    level.clear();
    warnings.clear();
    room = stemOf(file);
    Impl impl(*this);
    impl.file = file;
    impl.setZone(&zones[0]);
    if (room.empty() || room.size() > 100 || room.find_first_of(" \t") != std::string::npos)
        return impl.fail(0, "the room name \"%s\" must be one word", room);
    if (!impl.read(text) || !impl.place())
        return 0;
    impl.paint();
    impl.warnOfOpenedFloors();
    impl.writeLevel();
    return 1;
}

int RoomCompiler::write(const char* levelFile, const char* pictureFolder) const
{
    ReplacingFile lvl(levelFile, "w");
    if (!lvl.out || std::fputs(level.c_str(), lvl.out) < 0 || !lvl.commit()) {
        boundedFormat(error, sizeof error, "%s: cannot write the level", levelFile);
        return 0;
    }
    std::string base = std::string(pictureFolder) + "/room_" + room;
    const PngImage* images[3] = {&colour, &depth, &glow};
    const char* suffixes[3] = {".png", ".depth.png", ".glow.png"};
    for (int i = 0; i < 3; i++)
        if (!images[i]->save((base + suffixes[i]).c_str())) {
            boundedFormat(error, sizeof error, "%s%s: %s", base.c_str(), suffixes[i], images[i]->error);
            return 0;
        }
    std::string stem = "room_" + room;
    ReplacingFile manifest((base + ".manifest").c_str(), "w");
    int written = manifest.out &&
                  std::fprintf(manifest.out, "%s.til %s.png frame=%d depth=%s.depth.png glow=%s.glow.png\n",
                               stem.c_str(), stem.c_str(), colour.width, stem.c_str(), stem.c_str()) > 0;
    if (!manifest.commit(written)) {
        boundedFormat(error, sizeof error, "%s.manifest: cannot write the manifest", base.c_str());
        return 0;
    }
    return 1;
}
