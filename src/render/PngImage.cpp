#include "render/PngImage.h"

#include "base/BoundedString.h"
#include "base/ReplacingFile.h"

#include <png.h>

#include <cstdio>
#include <sys/stat.h>

namespace {

// Closes a FILE when it goes out of scope.
struct FileCloser {
    std::FILE* f;
    ~FileCloser()
    {
        if (f)
            std::fclose(f);
    }
};

void pngError(png_structp png, png_const_charp message)
{
    char* error = static_cast<char*>(png_get_error_ptr(png));
    boundedCopy(error, 256, message);
    png_longjmp(png, 1);
}

void pngWarning(png_structp, png_const_charp) {}

// Deflate packs at most 1032 bytes into one: a file can only hold the
// pixel bytes it declares when it is at least that fraction of them. Checked
// before anything is allocated for the pixels.
bool canHold(std::FILE* file, double pixelBytes)
{
    const double deflateMaxRatio = 1032.0;
    struct stat status;
    return fstat(fileno(file), &status) == 0 && pixelBytes <= double(status.st_size) * deflateMaxRatio;
}

} // namespace

void PngImage::resize(int w, int h, uint32_t fill)
{
    width = w;
    height = h;
    pixels.assign(size_t(w) * size_t(h), fill);
}

int PngImage::load(const char* file)
{
    resize(0, 0);
    FileCloser in{std::fopen(file, "rb")};
    if (!in.f) {
        boundedFormat(error, sizeof error, "cannot open %s", file);
        return 0;
    }
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, error, pngError, pngWarning);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    if (!info) {
        png_destroy_read_struct(&png, nullptr, nullptr);
        boundedCopy(error, sizeof error, "out of memory");
        return 0;
    }
    std::vector<png_byte> data;
    std::vector<png_bytep> rows;
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_read_struct(&png, &info, nullptr);
        resize(0, 0);
        return 0;
    }
    png_init_io(png, in.f);
    png_read_info(png, info);
    png_uint_32 w = png_get_image_width(png, info), h = png_get_image_height(png, info);
    if (w == 0 || h == 0 || w > png_uint_32(maxSide) || h > png_uint_32(maxSide)) {
        boundedFormat(error, sizeof error, "image size %ux%u is out of range", unsigned(w), unsigned(h));
        png_destroy_read_struct(&png, &info, nullptr);
        return 0;
    }
    if (!canHold(in.f, double(png_get_rowbytes(png, info) + 1) * h)) {
        boundedFormat(error, sizeof error, "image size %ux%u is more than the file holds", unsigned(w), unsigned(h));
        png_destroy_read_struct(&png, &info, nullptr);
        return 0;
    }
    // Everything becomes 8-bit RGBA.
    png_set_expand(png);
    png_set_strip_16(png);
    png_set_gray_to_rgb(png);
    png_set_add_alpha(png, 0xFF, PNG_FILLER_AFTER);
    png_set_interlace_handling(png);
    png_read_update_info(png, info);
    data.resize(size_t(w) * h * 4);
    rows.resize(h);
    for (png_uint_32 y = 0; y < h; y++)
        rows[y] = &data[size_t(y) * w * 4];
    png_read_image(png, rows.data());
    png_read_end(png, nullptr);
    png_destroy_read_struct(&png, &info, nullptr);
    resize(int(w), int(h));
    for (size_t i = 0; i < pixels.size(); i++) {
        const png_byte* p = &data[i * 4];
        pixels[i] = uint32_t(p[3]) << 24 | uint32_t(p[0]) << 16 | uint32_t(p[1]) << 8 | p[2];
    }
    return 1;
}

int PngImage::save(const char* file) const
{
    ReplacingFile target(file);
    if (!target.out) {
        boundedFormat(error, sizeof error, "cannot write %s", file);
        return 0;
    }
    std::vector<png_byte> data(pixels.size() * 4);
    for (size_t i = 0; i < pixels.size(); i++) {
        data[i * 4] = png_byte(pixels[i] >> 16);
        data[i * 4 + 1] = png_byte(pixels[i] >> 8);
        data[i * 4 + 2] = png_byte(pixels[i]);
        data[i * 4 + 3] = png_byte(pixels[i] >> 24);
    }
    std::vector<png_bytep> rows(static_cast<size_t>(height));
    for (int y = 0; y < height; y++)
        rows[size_t(y)] = &data[size_t(y) * width * 4];
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, error, pngError, pngWarning);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    volatile bool written = false;
    if (info && !setjmp(png_jmpbuf(png))) {
        png_init_io(png, target.out);
        png_set_IHDR(png, info, png_uint_32(width), png_uint_32(height), 8, PNG_COLOR_TYPE_RGB_ALPHA,
                     PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
        png_write_info(png, info);
        png_write_image(png, rows.data());
        png_write_end(png, nullptr);
        written = true;
    }
    png_destroy_write_struct(&png, &info);
    if (!target.commit(written)) {
        boundedFormat(error, sizeof error, "cannot write %s", file);
        return 0;
    }
    return 1;
}
