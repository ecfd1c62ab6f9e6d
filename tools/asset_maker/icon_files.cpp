// The icon's two file formats: PNG for the desktop's icon theme, 32-bit BMP for the window.
#include <png.h>

#include <csetjmp>
#include <iterator>
#include <stdexcept>

#include "file_formats.h"
#include "icon.h"

namespace {

void append(png_structp png, png_bytep data, png_size_t length) {
    auto* out = static_cast<std::vector<uint8_t>*>(png_get_io_ptr(png));
    out->insert(out->end(), data, data + length);
}

void no_flush(png_structp) {}

// libpng reports its errors by longjmp, so nothing with a destructor lives in this frame.
bool write_png(png_structp png, png_infop info, int size, png_bytepp rows,
               std::vector<uint8_t>* out) {
    if (setjmp(png_jmpbuf(png)))
        return false;
    png_set_write_fn(png, out, append, no_flush);
    png_set_IHDR(png, info, png_uint_32(size), png_uint_32(size), 8, PNG_COLOR_TYPE_RGB_ALPHA,
                 PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_set_compression_level(png, 9);
    png_write_info(png, info);
    png_write_image(png, rows);
    png_write_end(png, nullptr);
    return true;
}

void put(std::vector<uint8_t>& out, uint32_t v, int bytes) {
    for (int i = 0; i < bytes; ++i)
        out.push_back(uint8_t(v >> (8 * i)));
}

}  // namespace

std::vector<uint8_t> encode_png(const IconImage& icon) {
    if (icon.size <= 0 || icon.rgba.size() != size_t(icon.size) * icon.size * 4)
        throw std::invalid_argument("icon size");
    std::vector<png_bytep> rows(size_t(icon.size));
    for (int y = 0; y < icon.size; ++y)
        rows[size_t(y)] = const_cast<png_bytep>(&icon.rgba[size_t(y) * icon.size * 4]);
    std::vector<uint8_t> out;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    bool written = info != nullptr && write_png(png, info, icon.size, rows.data(), &out);
    png_destroy_write_struct(&png, &info);
    if (!written)
        throw std::runtime_error("PNG encoding failed");
    return out;
}

std::vector<uint8_t> encode_bmp_rgba(const IconImage& icon) {
    if (icon.size <= 0 || icon.rgba.size() != size_t(icon.size) * icon.size * 4)
        throw std::invalid_argument("icon size");
    const uint32_t header = 14 + 108, pixels = uint32_t(icon.rgba.size());
    std::vector<uint8_t> out{'B', 'M'};
    put(out, header + pixels, 4);
    put(out, 0, 4);
    put(out, header, 4);
    put(out, 108, 4);  // BITMAPV4HEADER: room for the alpha mask
    put(out, uint32_t(icon.size), 4);
    put(out, uint32_t(icon.size), 4);  // positive: bottom-up rows
    put(out, 1, 2);
    put(out, 32, 2);
    put(out, 3, 4);  // BI_BITFIELDS
    put(out, pixels, 4);
    put(out, 2835, 4);
    put(out, 2835, 4);
    put(out, 0, 4);
    put(out, 0, 4);
    for (uint32_t mask : {0x00FF0000u, 0x0000FF00u, 0x000000FFu, 0xFF000000u})
        put(out, mask, 4);
    put(out, 0x73524742, 4);            // "sRGB" colour space
    out.insert(out.end(), 36 + 12, 0);  // end points and gamma, unused with sRGB
    for (int y = icon.size - 1; y >= 0; --y)
        for (int x = 0; x < icon.size; ++x) {
            const uint8_t* p = &icon.rgba[(size_t(y) * icon.size + x) * 4];
            out.insert(out.end(), {p[2], p[1], p[0], p[3]});
        }
    return out;
}

void write_icons(Fonts& fonts, const std::string& data_dir, const std::string& icon_dir) {
    std::vector<int> sizes{WINDOW_ICON_SIZE};
    if (!icon_dir.empty())
        sizes.assign(std::begin(ICON_SIZES), std::end(ICON_SIZES));
    for (const IconImage& icon : make_icons(fonts, sizes)) {
        if (icon.size == WINDOW_ICON_SIZE)
            write_file(data_dir + "/CSICON.BMP", encode_bmp_rgba(icon));
        if (!icon_dir.empty())
            write_file(icon_dir + "/cellstorm-" + std::to_string(icon.size) + ".png",
                       encode_png(icon));
    }
}
