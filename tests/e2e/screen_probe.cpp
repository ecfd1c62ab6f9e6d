// Reads screenshots of the game (binary PPM, as ImageMagick writes it) against the game's own
// picture files, in the game's 640 x 480 coordinates. The picture is found where the game puts
// it: PROBE_SCALE=integer for that mode, fit otherwise.
//   screen_probe match SHOT PICTURE [x,y,w,h ...]   grid points outside the rects all equal,
//                                                    and everything around the picture black?
//   screen_probe selected SHOT SHEET PALETTE         the menu item whose button is drawn
//   screen_probe differs SHOT OTHER x y w h          how many pixels of the rect are unlike
//                                                    OTHER (a picture or a shot)
#include <SDL.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <utility>
#include <vector>

#include "platform/port/placement.h"

namespace {

struct Image {
    int width = 0;
    int height = 0;
    std::vector<uint32_t> rgb;  // 0xRRGGBB, top row first
    // Outside the image: a value no colour has, so it matches nothing.
    uint32_t at(int x, int y) const {
        return x >= 0 && y >= 0 && x < width && y < height ? rgb[size_t(y) * width + x] : ~0u;
    }
};

struct Rect {
    int x, y, w, h;
    bool contains(int px, int py) const { return px >= x && px < x + w && py >= y && py < y + h; }
};

[[noreturn]] void die(const std::string& why) {
    std::fprintf(stderr, "screen_probe: %s\n", why.c_str());
    std::exit(2);
}

// Scaled by a fraction, the middle of a game pixel may take up to an eighth of its neighbour
// on each axis: 15/64 of the difference at most.
int tolerance = 0;

bool alike(uint32_t a, uint32_t b) {
    if ((a | b) > 0xFFFFFFu) {
        return a == b;  // a point outside a picture
    }
    for (int shift : {0, 8, 16}) {
        if (std::abs(int((a >> shift) & 0xFF) - int((b >> shift) & 0xFF)) > tolerance) {
            return false;
        }
    }
    return true;
}

Rect place_in(const Image& shot) {
    const char* mode = std::getenv("PROBE_SCALE");
    const bool integer = mode != nullptr && std::string(mode) == "integer";
    auto place = platform::port::picture_rect(
        shot.width, shot.height,
        integer ? platform::port::ScaleMode::Integer : platform::port::ScaleMode::Fit);
    tolerance = place.w % 640 == 0 && place.h % 480 == 0 ? 0 : 60;
    return {place.x, place.y, place.w, place.h};
}

// A binary PPM ("P6", width, height, 255, one space, the pixels) as it is; false when the file
// is not one at all.
bool read_shot(const std::string& path, Image* shot) {
    std::ifstream in(path, std::ios::binary);
    std::string magic;
    int top = 0;
    if (!(in >> magic) || magic != "P6") {
        return false;
    }
    in >> shot->width >> shot->height >> top;
    in.get();
    if (!in || top != 255 || shot->width <= 0 || shot->height <= 0 || shot->width > 16384 ||
        shot->height > 16384) {
        die("not a binary PPM of 8-bit channels: " + path);
    }
    for (int i = 0; i < shot->width * shot->height; ++i) {
        const uint32_t r = uint8_t(in.get());
        const uint32_t g = uint8_t(in.get());
        shot->rgb.push_back(r << 16 | g << 8 | uint8_t(in.get()));
    }
    if (!in) {
        die("not a whole binary PPM: " + path);
    }
    return true;
}

// A screenshot as the game's screen (the centre of each game pixel), or an 8-bit picture file
// through its own colour table or another file's.
Image load(const std::string& path, const std::string& table_path = "") {
    Image shot;
    if (read_shot(path, &shot)) {
        Rect place = place_in(shot);
        Image screen{640, 480, {}};
        for (int y = 0; y < 480; ++y) {
            for (int x = 0; x < 640; ++x) {
                screen.rgb.push_back(shot.at(place.x + (2 * x + 1) * place.w / 1280,
                                             place.y + (2 * y + 1) * place.h / 960));
            }
        }
        return screen;
    }
    SDL_Surface* picture = SDL_LoadBMP(path.c_str());
    SDL_Surface* table = table_path.empty() ? picture : SDL_LoadBMP(table_path.c_str());
    if (picture == nullptr || table == nullptr || picture->format->BitsPerPixel != 8 ||
        table->format->palette == nullptr) {
        die("not an 8-bit picture: " + path + " " + table_path);
    }
    const SDL_Palette& colours = *table->format->palette;
    Image image{picture->w, picture->h, {}};
    for (int y = 0; y < picture->h; ++y) {
        for (int x = 0; x < picture->w; ++x) {
            int i = static_cast<const uint8_t*>(picture->pixels)[y * picture->pitch + x];
            SDL_Color c = i < colours.ncolors ? colours.colors[i] : SDL_Color{0, 0, 0, 0};
            image.rgb.push_back(uint32_t(c.r) << 16 | uint32_t(c.g) << 8 | c.b);
        }
    }
    if (table != picture) {
        SDL_FreeSurface(table);
    }
    SDL_FreeSurface(picture);
    return image;
}

// How many points of r, every step-th from the middle of the first step and leaving out those
// inside skip, differ from other's points dx, dy away; and how many were looked at.
std::pair<int, int> compare(const Image& one, const Image& other, const Rect& r, int step,
                            const std::vector<Rect>& skip = {}, int dx = 0, int dy = 0) {
    int count = 0;
    int checked = 0;
    for (int y = r.y + step / 2; y < r.y + r.h; y += step) {
        for (int x = r.x + step / 2; x < r.x + r.w; x += step) {
            if (std::none_of(skip.begin(), skip.end(),
                             [&](const Rect& s) { return s.contains(x, y); })) {
                ++checked;
                count += alike(one.at(x, y), other.at(x + dx, y + dy)) ? 0 : 1;
            }
        }
    }
    return {count, checked};
}

// Where the menu draws each item's button; the sheet holds them in cells of 45, four a row.
const int kButtonX[7] = {99, 99, 99, 98, 98, 98, 98};
const int kButtonY[7] = {112, 158, 205, 252, 298, 347, 393};

int selected(const Image& screen, const Image& sheet) {
    int found = -1;
    for (int item = 0; item < 7; ++item) {
        const int x = kButtonX[item];
        const int y = kButtonY[item];
        auto [unlike, checked] = compare(screen, sheet, {x, y, 44, 44}, 4, {},
                                         (item % 4) * 45 + 1 - x, (item / 4) * 45 + 1 - y);
        if (unlike * 10 <= checked) {  // at least nine in ten of the points alike
            found = found == -1 ? item : -2;
        }
    }
    std::printf("%d\n", found);
    return found >= 0 ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
    const std::string command = argc > 1 ? argv[1] : "";
    if (command == "match" && argc >= 4) {
        std::vector<Rect> skip;
        for (int i = 4; i < argc; ++i) {
            Rect r{};
            if (std::sscanf(argv[i], "%d,%d,%d,%d", &r.x, &r.y, &r.w, &r.h) != 4) {
                die("bad rectangle " + std::string(argv[i]));
            }
            skip.push_back(r);
        }
        Image shot;
        if (!read_shot(argv[2], &shot)) {
            die("not a binary PPM: " + std::string(argv[2]));
        }
        auto [count, checked] = compare(load(argv[2]), load(argv[3]), {0, 0, 640, 480}, 20, skip);
        std::printf("%d of %d points differ\n", count, checked);
        // Around the picture, the bars: black.
        Rect picture = place_in(shot);
        int lit = 0;
        for (int y = 0; y < shot.height; y += 4) {
            for (int x = 0; x < shot.width; x += 4) {
                lit += !picture.contains(x, y) && shot.at(x, y) != 0 ? 1 : 0;
            }
        }
        std::printf("%d lit points around the picture\n", lit);
        return count == 0 && checked > 0 && lit == 0 ? 0 : 1;
    }
    if (command == "selected" && argc == 5) {
        return selected(load(argv[2]), load(argv[3], argv[4]));
    }
    Rect r{};
    if (command == "differs" && argc == 8) {
        r = {std::atoi(argv[4]), std::atoi(argv[5]), std::atoi(argv[6]), std::atoi(argv[7])};
    }
    if (r.x < 0 || r.y < 0 || r.w <= 0 || r.h <= 0 || r.x + r.w > 640 || r.y + r.h > 480) {
        die("usage: see the top of screen_probe.cpp");
    }
    std::printf("%d\n", compare(load(argv[2]), load(argv[3]), r, 1).first);
    return 0;
}
