#include "assets/TileContainer.h"

#include "base/BoundedString.h"
#include "base/ReplacingFile.h"
#include "assets/Tile.h"

#include <cstddef>
#include <cstdint>
#include <cstring>

namespace {

const long blockHeader = 16;   // width, height, frame count, extra count
const long recordSize = 12;    // colour, depth, incandescence

int32_t decode(const unsigned char* b)
{
    uint32_t u = uint32_t(b[0]) | uint32_t(b[1]) << 8 | uint32_t(b[2]) << 16 | uint32_t(b[3]) << 24;
    int32_t v;
    std::memcpy(&v, &u, 4);
    return v;
}

void encode(std::vector<unsigned char>* out, uint32_t v)
{
    out->push_back((unsigned char)(v));
    out->push_back((unsigned char)(v >> 8));
    out->push_back((unsigned char)(v >> 16));
    out->push_back((unsigned char)(v >> 24));
}

uint32_t bits(float f)
{
    uint32_t u;
    std::memcpy(&u, &f, 4);
    return u;
}

#if !(defined(__BYTE_ORDER__) && __BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__)
float fromBits(int32_t v)
{
    float f;
    std::memcpy(&f, &v, 4);
    return f;
}
#endif

int readInt(std::FILE* in, int32_t* v)
{
    unsigned char b[4];
    if (std::fread(b, 1, 4, in) != 4)
        return 0;
    *v = decode(b);
    return 1;
}

long fileSize(std::FILE* in)
{
    if (std::fseek(in, 0, SEEK_END) != 0)
        return -1;
    return std::ftell(in);
}

// Walks the directory from the start of the file. With `wanted` it stops at
// the first entry of that name and returns 1 with its offset; otherwise it
// collects every whole entry into `entries`. A damaged entry (a name length
// outside 1..256, or any field cut by the end of the file) ends the walk.
int scanDirectory(std::FILE* in, const char* wanted, std::vector<TILE_ENTRY>* entries, long* offset,
                  int32_t* declared = nullptr)
{
    if (std::fseek(in, 0, SEEK_SET) != 0)
        return 0;
    int32_t count;
    if (!readInt(in, &count) || count < 0)
        return 0;
    if (declared)
        *declared = count;
    for (int32_t i = 0; i < count; i++) {
        int32_t length;
        if (!readInt(in, &length) || length < 1 || length > TileContainer::maxNameLength)
            return 0;
        char stored[TileContainer::maxNameLength + 1];
        if (std::fread(stored, 1, size_t(length), in) != size_t(length))
            return 0;
        stored[length] = 0;
        int32_t at;
        if (!readInt(in, &at))
            return 0;
        TILE_ENTRY entry;
        boundedCopy(entry.name, sizeof entry.name, stored);
        entry.offset = long(uint32_t(at));
        if (wanted) {
            if (std::strcmp(entry.name, wanted) == 0) {
                *offset = entry.offset;
                return 1;
            }
        } else {
            entries->push_back(entry);
        }
    }
    return 0;
}

// Reads the header of the tile block at `offset` (width, height, frame
// count, extra count) and leaves the file at the block's extra integers.
// Returns the block's size in bytes, or 0 when the header is out of the
// limits or the block does not lie whole inside the file.
long readBlockHeader(std::FILE* in, long offset, int32_t header[4])
{
    long size = fileSize(in);
    if (size < 0 || offset < 0 || offset > size - blockHeader || std::fseek(in, offset, SEEK_SET) != 0)
        return 0;
    unsigned char bytes[blockHeader];
    if (std::fread(bytes, 1, blockHeader, in) != size_t(blockHeader))
        return 0;
    for (int i = 0; i < 4; i++)
        header[i] = decode(bytes + 4 * i);
    int32_t width = header[0], height = header[1], frames = header[2], extras = header[3];
    if (width < 1 || width > Tile::maxSide || height < 1 || height > Tile::maxSide || frames < 1 ||
        frames > Tile::maxFrames || extras < 0 || extras > Tile::maxExtra)
        return 0;
    uint64_t frameBytes = uint64_t(width) * uint64_t(height) * recordSize;
    uint64_t need = uint64_t(extras) * 4 + frameBytes * uint64_t(frames);
    if (need > uint64_t(size - offset - blockHeader))
        return 0;
    return long(blockHeader + need);
}

// Reads `records` pixel records into `data`. On a little-endian machine the
// stored records are laid out as the pixels lie in memory and are read in
// place; elsewhere each value is decoded through `buffer`.
bool readRecords(std::FILE* in, TILE_PIXEL* data, size_t records, std::vector<unsigned char>* buffer)
{
#if defined(__BYTE_ORDER__) && __BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__
    static_assert(sizeof(TILE_PIXEL) == recordSize && offsetof(TILE_PIXEL, depth) == 4 &&
                      offsetof(TILE_PIXEL, incandescence) == 8,
                  "a pixel is stored as it lies in memory");
    (void)buffer;
    return std::fread(data, size_t(recordSize), records, in) == records;
#else
    buffer->resize(records * size_t(recordSize));
    if (std::fread(buffer->data(), 1, buffer->size(), in) != buffer->size())
        return false;
    for (size_t r = 0; r < records; r++) {
        const unsigned char* p = &(*buffer)[r * recordSize];
        data[r].colour = decode(p);
        data[r].depth = decode(p + 4);
        data[r].incandescence = fromBits(decode(p + 8));
    }
    return true;
#endif
}

} // namespace

int TileContainer::readDirectory(std::FILE* in, std::vector<TILE_ENTRY>* entries)
{
    int32_t declared = -1;
    scanDirectory(in, nullptr, entries, nullptr, &declared);
    return declared;
}

int TileContainer::findEntry(std::FILE* in, const char* name, long* offset)
{
    return scanDirectory(in, name, nullptr, offset);
}

long TileContainer::blockSize(std::FILE* in, long offset)
{
    int32_t header[4];
    return readBlockHeader(in, offset, header);
}

int TileContainer::readTile(std::FILE* in, long offset, Tile* tile)
{
    tile->release();
    int32_t header[4];
    if (readBlockHeader(in, offset, header) == 0)
        return 0;
    int32_t width = header[0], height = header[1], frames = header[2], extras = header[3];
    if (!tile->create(width, height, frames, extras))
        return 0;
    std::vector<unsigned char> buffer(size_t(extras) * 4);
    if (std::fread(buffer.data(), 1, buffer.size(), in) != buffer.size()) {
        tile->release();
        return 0;
    }
    for (int32_t i = 0; i < extras; i++)
        tile->extra[i] = decode(&buffer[size_t(i) * 4]);
    size_t records = size_t(width) * size_t(height);
    for (int32_t f = 0; f < frames; f++)
        if (!readRecords(in, tile->frames[f].data, records, &buffer)) {
            tile->release();
            return 0;
        }
    return 1;
}

int TileContainer::add(const Tile& tile)
{
    size_t length = strnlen(tile.name, sizeof tile.name);
    if (length == 0 || length >= size_t(maxNameLength)) {
        boundedCopy(error, sizeof error, "a tile needs a name of 1 to 255 characters");
        return 0;
    }
    if (!tile.frames || tile.frameCount < 1 || tile.frameCount > Tile::maxFrames || tile.width < 1 ||
        tile.width > Tile::maxSide || tile.height < 1 || tile.height > Tile::maxSide || tile.extraCount < 0 ||
        tile.extraCount > Tile::maxExtra) {
        boundedFormat(error, sizeof error, "tile %s has no frames or is out of the size limits", tile.name);
        return 0;
    }
    std::vector<unsigned char> block;
    size_t records = size_t(tile.width) * size_t(tile.height);
    block.reserve(size_t(blockHeader) + size_t(tile.extraCount) * 4 +
                  records * size_t(recordSize) * size_t(tile.frameCount));
    encode(&block, uint32_t(tile.width));
    encode(&block, uint32_t(tile.height));
    encode(&block, uint32_t(tile.frameCount));
    encode(&block, uint32_t(tile.extraCount));
    for (int i = 0; i < tile.extraCount; i++)
        encode(&block, uint32_t(tile.extra[i]));
    for (int f = 0; f < tile.frameCount; f++) {
        const TILE_PIXEL* data = tile.frames[f].data;
        for (size_t r = 0; r < records; r++) {
            encode(&block, uint32_t(data[r].colour));
            encode(&block, uint32_t(data[r].depth));
            encode(&block, bits(data[r].incandescence));
        }
    }
    names.emplace_back(tile.name, length);
    blocks.push_back(std::move(block));
    return 1;
}

int TileContainer::save(const char* file) const
{
    // Lay out the offsets first: the file must stay addressable by 32-bit offsets.
    std::vector<unsigned char> directory;
    encode(&directory, uint32_t(names.size()));
    uint64_t offset = 4;
    for (const std::string& name : names)
        offset += 8 + name.size() + 1;
    for (size_t i = 0; i < names.size(); i++) {
        if (offset > uint64_t(INT32_MAX)) {
            boundedCopy(error, sizeof error, "the tiles do not fit in one container (2 GiB)");
            return 0;
        }
        encode(&directory, uint32_t(names[i].size() + 1));
        directory.insert(directory.end(), names[i].begin(), names[i].end());
        directory.push_back(0);
        encode(&directory, uint32_t(offset));
        offset += blocks[i].size();
    }

    ReplacingFile output(file);
    if (!output.out) {
        boundedFormat(error, sizeof error, "cannot create a temporary file for %s", file);
        return 0;
    }
    bool written = std::fwrite(directory.data(), 1, directory.size(), output.out) == directory.size();
    for (size_t i = 0; written && i < blocks.size(); i++)
        written = std::fwrite(blocks[i].data(), 1, blocks[i].size(), output.out) == blocks[i].size();
    if (!output.commit(written)) {
        boundedFormat(error, sizeof error, "cannot write %s", file);
        return 0;
    }
    return 1;
}
