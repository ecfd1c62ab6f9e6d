// DejaVu Sans Bold through FreeType, rendered one bit per pixel and cached per character.
#include "platform/common/font.h"

#include <ft2build.h>
#include FT_FREETYPE_H

#include <array>
#include <cstdio>
#include <vector>

#include "platform/diagnostics.h"
#include "platform/files.h"

namespace platform::common {
namespace {

constexpr const char* FONT_NAME = "DejaVuSans-Bold.ttf";
constexpr const char* SYSTEM_FONT = "/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf";
// 14-pixel em: a 16-pixel line with capitals about 10 pixels tall, like the system font.
constexpr int PIXEL_SIZE = 14;
constexpr long MAX_FONT_BYTES = 16L * 1024 * 1024;

struct Glyph {
    bool rendered = false;
    int left = 0;  // from the pen to the first column
    int top = 0;   // from the baseline up to the first row
    int width = 0;
    int rows = 0;
    int advance = 0;
    std::vector<uint8_t> coverage;  // width x rows, 1 where the glyph sets a pixel
};

struct FontState {
    FT_Library library = nullptr;
    FT_Face face = nullptr;
    std::vector<FT_Byte> data;  // FreeType reads the face from here for as long as it lives
    int ascent = 0;
    std::array<Glyph, 256> glyphs;
    bool reported = false;
};

FontState& font_state() {
    static FontState instance;
    return instance;
}

bool read_whole(std::FILE* file, std::vector<FT_Byte>& out) {
    out.clear();
    if (file == nullptr) {
        return false;
    }
    FT_Byte chunk[65536];
    size_t got;
    while ((got = std::fread(chunk, 1, sizeof(chunk), file)) > 0) {
        if (long(out.size() + got) > MAX_FONT_BYTES) {
            out.clear();
            break;
        }
        out.insert(out.end(), chunk, chunk + got);
    }
    std::fclose(file);
    return !out.empty();
}

bool open_face(FontState& s) {
    FT_Face face = nullptr;
    if (FT_New_Memory_Face(s.library, s.data.data(), FT_Long(s.data.size()), 0, &face) != 0) {
        return false;
    }
    if (FT_Set_Pixel_Sizes(face, 0, PIXEL_SIZE) != 0) {
        FT_Done_Face(face);
        return false;
    }
    s.face = face;
    s.ascent = int(face->size->metrics.ascender >> 6);
    return true;
}

// The face beside the game's data first, then the system's copy (the package depends on it).
bool ensure_font() {
    FontState& s = font_state();
    if (s.face != nullptr) {
        return true;
    }
    if (s.library == nullptr && FT_Init_FreeType(&s.library) != 0) {
        s.library = nullptr;
        return false;
    }
    if (read_whole(platform::open_data_file(FONT_NAME, "rb"), s.data) && open_face(s)) {
        return true;
    }
    if (read_whole(std::fopen(SYSTEM_FONT, "rb"), s.data) && open_face(s)) {
        return true;
    }
    // Every text asks again, so the missing font is named once.
    if (!s.reported) {
        s.reported = true;
        platform::report_data_file(
            FONT_NAME, "cannot be opened or is refused: no text is drawn (see fonts-dejavu-core)");
    }
    return false;
}

const Glyph& glyph_for(unsigned char character) {
    FontState& s = font_state();
    Glyph& glyph = s.glyphs[character];
    if (glyph.rendered) {
        return glyph;
    }
    glyph.rendered = true;
    // Bytes are Latin-1, whose codes are the Unicode code points.
    if (FT_Load_Char(s.face, character,
                     FT_LOAD_RENDER | FT_LOAD_TARGET_MONO | FT_LOAD_MONOCHROME) != 0) {
        return glyph;
    }
    const FT_GlyphSlot slot = s.face->glyph;
    const FT_Bitmap& bitmap = slot->bitmap;
    glyph.advance = int(slot->advance.x >> 6);
    if (bitmap.pixel_mode != FT_PIXEL_MODE_MONO || bitmap.buffer == nullptr) {
        return glyph;
    }
    glyph.left = slot->bitmap_left;
    glyph.top = slot->bitmap_top;
    glyph.width = int(bitmap.width);
    glyph.rows = int(bitmap.rows);
    glyph.coverage.assign(size_t(glyph.width) * size_t(glyph.rows), 0);
    int pitch = bitmap.pitch < 0 ? -bitmap.pitch : bitmap.pitch;
    for (int row = 0; row < glyph.rows; ++row) {
        const unsigned char* line = bitmap.buffer + size_t(row) * size_t(pitch);
        for (int column = 0; column < glyph.width; ++column) {
            if (line[column >> 3] & (0x80 >> (column & 7))) {
                glyph.coverage[size_t(row) * size_t(glyph.width) + size_t(column)] = 1;
            }
        }
    }
    return glyph;
}

}  // namespace

bool draw_text(uint8_t* pixels, int width, int height, int pitch, int x, int y, const char* text,
               int length, uint8_t index) {
    if (!ensure_font()) {
        return false;
    }
    if (pixels == nullptr || text == nullptr || length <= 0) {
        return true;
    }
    // 64-bit positions: a pen far off the surface must not wrap around onto it.
    auto plot = [&](long long px, long long py) {
        if (px >= 0 && px < width && py >= 0 && py < height) {
            pixels[py * pitch + px] = index;
        }
    };
    long long pen = x;
    long long baseline = (long long)y + font_state().ascent;
    for (int i = 0; i < length && pen < width; ++i) {
        const Glyph& glyph = glyph_for(static_cast<unsigned char>(text[i]));
        for (int row = 0; row < glyph.rows; ++row) {
            for (int column = 0; column < glyph.width; ++column) {
                if (glyph.coverage[size_t(row) * size_t(glyph.width) + size_t(column)]) {
                    plot(pen + glyph.left + column, baseline - glyph.top + row);
                }
            }
        }
        pen += glyph.advance;
    }
    return true;
}

}  // namespace platform::common
