#pragma once

#include "render/PngImage.h"

#include <map>
#include <memory>
#include <string>
#include <vector>

class Tile;
struct TILE_SOURCE;

// Turns a room source (content/rooms/NAME.room, described in the README
// there) into the room's level file text and its picture: one large tile,
// "room_NAME.til", painted from the character grid in the textures of the
// room's zone, with a depth and an incandescence map. Everything placed by
// the legend becomes ELEMENT, BONUS and ELECTRIC_BOX records after it.
//
// Textures and the sizes of placed tiles come from a tile manifest (the
// art's) or from tiles added directly. Errors are "FILE:LINE: reason".
class RoomCompiler {
public:
    // Side of one grid character in pixels.
    static const int cell = 8;
    // Largest grid accepted, in characters, so the picture stays a tile.
    static const int maxColumns = 512;
    static const int maxRows = 512;
    // Longest source line.
    static const int maxLine = 1024;

    RoomCompiler();
    ~RoomCompiler();
    RoomCompiler(const RoomCompiler&) = delete;
    RoomCompiler& operator=(const RoomCompiler&) = delete;

    // Registers every tile of a manifest; pictures are read when first used.
    // Returns 1, or 0 with the reason in `error`.
    int loadArt(const char* manifest);
    // Adds an empty tile of one frame per `frames` that the caller fills;
    // it serves as texture or placed tile under `name`.
    Tile* addTile(const char* name, int width, int height, int frames);

    // Compiles the source file; the room's name is the file's stem.
    int compileFile(const char* path);
    // Compiles source text; `file` names it in errors, its stem names the room.
    int compile(const char* file, const std::string& text);

    // Writes LEVEL (the level text), and into PICTURES the room picture
    // "room_NAME.png" with ".depth.png" and ".glow.png" beside it and
    // "room_NAME.manifest", the manifest line that packs them. Every file
    // goes through a temporary file. Returns 1, or 0 with `error`.
    int write(const char* levelFile, const char* pictureFolder) const;

    std::string room;          // the room's name (the source's stem)
    std::string level;         // the compiled level text
    PngImage colour;           // the room picture, row-major RGBA
    PngImage depth;            // grey = depth
    PngImage glow;             // grey 0..255 = incandescence 0..1
    // "FILE:LINE: warning: ..." lines of the last compile: things that
    // compile but that a player would meet as faults.
    std::vector<std::string> warnings;
    mutable char error[1024] = "";

private:
    struct Impl;
    const Tile* tile(const std::string& name);
    std::map<std::string, std::unique_ptr<TILE_SOURCE>> sources;
    std::map<std::string, std::unique_ptr<Tile>> tiles;
    friend struct Impl;
};
