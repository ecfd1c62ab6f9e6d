#include "lettering.h"

#include <ft2build.h>
#include FT_FREETYPE_H

#include <algorithm>
#include <stdexcept>

namespace {

FT_Library lib(void* p) {
    return static_cast<FT_Library>(p);
}
FT_Face face(void* p) {
    return static_cast<FT_Face>(p);
}

}  // namespace

Font::Font(const std::string& path) {
    FT_Library l = nullptr;
    if (FT_Init_FreeType(&l))
        throw std::runtime_error("FreeType did not start");
    library_ = l;
    FT_Face f = nullptr;
    if (FT_New_Face(l, path.c_str(), 0, &f)) {
        FT_Done_FreeType(l);
        throw std::runtime_error("cannot open font " + path);
    }
    face_ = f;
}

Font::~Font() {
    FT_Done_Face(face(face_));
    FT_Done_FreeType(lib(library_));
}

Mask Font::render(const std::string& text, int em_pixels, bool sharp, int tracking) {
    FT_Face f = face(face_);
    if (FT_Set_Pixel_Sizes(f, 0, FT_UInt(em_pixels)))
        throw std::runtime_error("font size");
    const int ascender = int(f->size->metrics.ascender >> 6);
    const int descender = int(-f->size->metrics.descender >> 6);
    const FT_Int32 flags = FT_LOAD_RENDER | (sharp ? FT_LOAD_TARGET_MONO : FT_LOAD_TARGET_NORMAL);

    // First pass measures, second pass draws: glyphs may overhang their advance.
    int pen = 0, left = 0, right = 0;
    FT_UInt previous = 0;
    for (int pass = 0; pass < 2; ++pass) {
        Mask mask;
        if (pass == 1) {
            mask.width = right - left + 2;
            mask.height = ascender + descender + 2;
            mask.baseline = ascender + 1;
            mask.cover.assign(size_t(mask.width) * mask.height, 0.0f);
        }
        pen = 0;
        previous = 0;
        for (unsigned char ch : text) {
            FT_UInt glyph = FT_Get_Char_Index(f, ch);
            if (previous && glyph && FT_HAS_KERNING(f)) {
                FT_Vector k;
                FT_Get_Kerning(f, previous, glyph, FT_KERNING_DEFAULT, &k);
                pen += int(k.x >> 6);
            }
            if (FT_Load_Glyph(f, glyph, flags))
                throw std::runtime_error("glyph");
            const FT_Bitmap& bm = f->glyph->bitmap;
            const int gx = pen + f->glyph->bitmap_left;
            if (pass == 0) {
                left = std::min(left, gx);
                right = std::max(right, gx + int(bm.width));
                right = std::max(right, pen + int(f->glyph->advance.x >> 6));
            } else {
                const int ox = gx - left + 1, oy = mask.baseline - f->glyph->bitmap_top;
                for (unsigned r = 0; r < bm.rows; ++r)
                    for (unsigned c = 0; c < bm.width; ++c) {
                        const unsigned char* row = bm.buffer + int(r) * bm.pitch;
                        float v =
                            sharp ? float((row[c >> 3] >> (7 - (c & 7))) & 1) : row[c] / 255.0f;
                        int x = ox + int(c), y = oy + int(r);
                        if (x >= 0 && y >= 0 && x < mask.width && y < mask.height) {
                            float& dst = mask.cover[size_t(y) * mask.width + x];
                            dst = std::max(dst, v);
                        }
                    }
            }
            pen += int(f->glyph->advance.x >> 6) + tracking;
            previous = glyph;
        }
        if (pass == 1)
            return mask;
    }
    return Mask{};
}

Fonts::Fonts(const std::string& dir)
    : bold(dir + "/DejaVuSans-Bold.ttf"),
      regular(dir + "/DejaVuSans.ttf"),
      serif_bold(dir + "/DejaVuSerif-Bold.ttf") {}

void paint(Canvas& canvas, const Mask& mask, int x, int y, Rgb c, float opacity) {
    for (int j = 0; j < mask.height; ++j)
        for (int i = 0; i < mask.width; ++i)
            canvas.blend(x + i, y + j, c, mask.at(i, j) * opacity);
}

void label(Canvas& canvas, Font& font, const std::string& text, int em, int x, int y, Rgb c,
           Rgb shadow, bool sharp) {
    Mask m = font.render(text, em, sharp);
    paint(canvas, m, x + 1, y + 1, shadow);
    paint(canvas, m, x, y, c);
}

int ink_width(const Mask& mask) {
    int lo = mask.width, hi = -1;
    for (int y = 0; y < mask.height; ++y)
        for (int x = 0; x < mask.width; ++x)
            if (mask.at(x, y) > 0.0f) {
                lo = std::min(lo, x);
                hi = std::max(hi, x);
            }
    return hi < lo ? 0 : hi - lo + 1;
}

Mask dilate(const Mask& mask, int radius) {
    Mask out = mask;
    for (int y = 0; y < mask.height; ++y)
        for (int x = 0; x < mask.width; ++x) {
            float best = 0.0f;
            for (int dy = -radius; dy <= radius; ++dy)
                for (int dx = -radius; dx <= radius; ++dx)
                    if (dx * dx + dy * dy <= radius * radius)
                        best = std::max(best, mask.at(x + dx, y + dy));
            out.cover[size_t(y) * mask.width + x] = best;
        }
    return out;
}

Mask blur(const Mask& mask, int radius) {
    Mask out = mask;
    std::vector<float> tmp(out.cover.size());
    const int n = 2 * radius + 1;
    for (int pass = 0; pass < 3; ++pass) {
        for (int y = 0; y < out.height; ++y)
            for (int x = 0; x < out.width; ++x) {
                float s = 0;
                for (int d = -radius; d <= radius; ++d)
                    s += out.at(x + d, y);
                tmp[size_t(y) * out.width + x] = s / n;
            }
        for (int y = 0; y < out.height; ++y)
            for (int x = 0; x < out.width; ++x) {
                float s = 0;
                for (int d = -radius; d <= radius; ++d) {
                    int yy = y + d;
                    if (yy >= 0 && yy < out.height)
                        s += tmp[size_t(yy) * out.width + x];
                }
                out.cover[size_t(y) * out.width + x] = s / n;
            }
    }
    return out;
}

Mask pad(const Mask& mask, int n) {
    Mask out;
    out.width = mask.width + 2 * n;
    out.height = mask.height + 2 * n;
    out.baseline = mask.baseline + n;
    out.cover.assign(size_t(out.width) * out.height, 0.0f);
    for (int y = 0; y < mask.height; ++y)
        for (int x = 0; x < mask.width; ++x)
            out.cover[size_t(y + n) * out.width + x + n] = mask.at(x, y);
    return out;
}
