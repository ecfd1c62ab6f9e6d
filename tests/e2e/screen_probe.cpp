// Reads screenshots of the game (binary PPM of the whole X screen) against the game's own
// picture files, in the game's 640 x 480 coordinates. Used by run_game.sh.
//   screen_probe match SHOT PICTURE [x,y,w,h ...]   grid points outside the rects all equal?
//   screen_probe selected SHOT SHEET PALETTE         the menu item whose button is drawn
//   screen_probe differs SHOT PICTURE x y w h        pixels of the rect unlike the picture
//   screen_probe changed SHOT OTHER x y w h          pixels of the rect unlike the other shot
//   screen_probe bars SHOT                           everything around the picture black?
#include <cctype>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "platform/sdl2/present.h"

namespace {

struct Image {
    int width = 0;
    int height = 0;
    std::vector<uint32_t> rgb;  // 0xRRGGBB, top row first
    uint32_t at(int x, int y) const { return rgb[size_t(y) * width + x]; }
};

struct Rect {
    int x, y, w, h;
    bool contains(int px, int py) const { return px >= x && px < x + w && py >= y && py < y + h; }
};

[[noreturn]] void die(const std::string& why) {
    std::fprintf(stderr, "screen_probe: %s\n", why.c_str());
    std::exit(2);
}

std::vector<uint8_t> read_file(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        die("cannot read " + path);
    }
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

uint32_t le(const std::vector<uint8_t>& d, size_t at, int bytes) {
    if (at + size_t(bytes) > d.size()) {
        die("file too short");
    }
    uint32_t value = 0;
    for (int i = bytes - 1; i >= 0; --i) {
        value = (value << 8) | d[at + size_t(i)];
    }
    return value;
}

// The colour table of a BMP file: entries past the table's end are black.
void read_palette(const std::vector<uint8_t>& d, uint32_t colours[256]) {
    uint32_t table = 14 + le(d, 14, 4);
    uint32_t pixels = le(d, 10, 4);
    for (uint32_t i = 0; i < 256; ++i) {
        uint32_t at = table + i * 4;
        colours[i] = at + 4 <= pixels
                         ? (le(d, at + 2, 1) << 16) | (le(d, at + 1, 1) << 8) | le(d, at, 1)
                         : 0;
    }
}

// An 8-bit BMP as colours: through its own palette, or through another file's.
Image read_bmp(const std::string& path, const std::string& palette_path = "") {
    std::vector<uint8_t> d = read_file(path);
    uint32_t offset = le(d, 10, 4);
    int width = int(le(d, 18, 4));
    int height = int(int32_t(le(d, 22, 4)));
    if (le(d, 28, 2) != 8 || width <= 0 || width > 4096 || height == 0 || height > 4096 ||
        height < -4096) {
        die(path + " is not an 8-bit picture");
    }
    uint32_t colours[256];
    read_palette(palette_path.empty() ? d : read_file(palette_path), colours);
    Image image;
    image.width = width;
    image.height = height < 0 ? -height : height;
    image.rgb.resize(size_t(image.width) * image.height);
    size_t stride = (size_t(width) + 3) & ~size_t(3);
    for (int y = 0; y < image.height; ++y) {
        size_t row = height < 0 ? size_t(y) : size_t(image.height - 1 - y);
        for (int x = 0; x < width; ++x) {
            image.rgb[size_t(y) * width + x] = colours[le(d, offset + row * stride + x, 1)];
        }
    }
    return image;
}

Image read_ppm(const std::string& path) {
    std::vector<uint8_t> d = read_file(path);
    size_t at = 0;
    auto token = [&]() {
        std::string text;
        while (at < d.size()) {
            if (d[at] == '#') {
                while (at < d.size() && d[at] != '\n') {
                    ++at;
                }
            } else if (std::isspace(d[at])) {
                if (!text.empty()) {
                    break;
                }
                ++at;
            } else {
                text += char(d[at++]);
            }
        }
        return text;
    };
    if (token() != "P6") {
        die(path + " is not a binary PPM");
    }
    Image image;
    image.width = std::atoi(token().c_str());
    image.height = std::atoi(token().c_str());
    if (std::atoi(token().c_str()) != 255 || image.width <= 0 || image.height <= 0) {
        die(path + ": unexpected PPM header");
    }
    ++at;
    if (d.size() < at + size_t(image.width) * image.height * 3) {
        die(path + " is cut short");
    }
    image.rgb.resize(size_t(image.width) * image.height);
    for (size_t i = 0; i < image.rgb.size(); ++i, at += 3) {
        image.rgb[i] = (uint32_t(d[at]) << 16) | (uint32_t(d[at + 1]) << 8) | d[at + 2];
    }
    return image;
}

// The colour the screenshot shows at the centre of game pixel (x, y).
uint32_t game_pixel(const Image& shot, int x, int y) {
    auto place = platform::sdl2::picture_rect(shot.width, shot.height);
    return shot.at(place.x + (2 * x + 1) * place.w / 1280, place.y + (2 * y + 1) * place.h / 960);
}

Rect rect_from(char** argv) {
    return {std::atoi(argv[0]), std::atoi(argv[1]), std::atoi(argv[2]), std::atoi(argv[3])};
}

int match(const Image& shot, const Image& picture, const std::vector<Rect>& skip) {
    int checked = 0;
    int wrong = 0;
    for (int y = 10; y < 480; y += 20) {
        for (int x = 10; x < 640; x += 20) {
            bool skipped = false;
            for (const Rect& r : skip) {
                skipped |= r.contains(x, y);
            }
            if (skipped) {
                continue;
            }
            ++checked;
            if (game_pixel(shot, x, y) != picture.at(x, y)) {
                ++wrong;
            }
        }
    }
    std::printf("%d of %d points differ\n", wrong, checked);
    return wrong == 0 && checked > 0 ? 0 : 1;
}

// Where the menu draws each item's button, and the sheet cell it comes from.
const int kButtonX[7] = {99, 99, 99, 98, 98, 98, 98};
const int kButtonY[7] = {112, 158, 205, 252, 298, 347, 393};

int selected(const Image& shot, const Image& sheet) {
    int found = -1;
    for (int item = 0; item < 7; ++item) {
        int cell_x = (item % 4) * 45 + 1;
        int cell_y = (item / 4) * 45 + 1;
        int same = 0;
        int total = 0;
        for (int dy = 2; dy < 44; dy += 4) {
            for (int dx = 2; dx < 44; dx += 4) {
                ++total;
                same += game_pixel(shot, kButtonX[item] + dx, kButtonY[item] + dy) ==
                                sheet.at(cell_x + dx, cell_y + dy)
                            ? 1
                            : 0;
            }
        }
        if (same * 10 >= total * 9) {
            found = found == -1 ? item : -2;
        }
    }
    std::printf("%d\n", found);
    return found >= 0 ? 0 : 1;
}

int count_unlike(const Image& shot, const Rect& r, const Image* picture, const Image* other) {
    int count = 0;
    for (int y = r.y; y < r.y + r.h; ++y) {
        for (int x = r.x; x < r.x + r.w; ++x) {
            uint32_t expected = picture ? picture->at(x, y) : game_pixel(*other, x, y);
            count += game_pixel(shot, x, y) != expected ? 1 : 0;
        }
    }
    std::printf("%d\n", count);
    return 0;
}

int bars(const Image& shot) {
    auto place = platform::sdl2::picture_rect(shot.width, shot.height);
    Rect picture{place.x, place.y, place.w, place.h};
    int lit = 0;
    for (int y = 0; y < shot.height; y += 4) {
        for (int x = 0; x < shot.width; x += 4) {
            lit += !picture.contains(x, y) && shot.at(x, y) != 0 ? 1 : 0;
        }
    }
    std::printf("%d lit points around the picture\n", lit);
    return lit == 0 ? 0 : 1;
}

bool in_screen(const Rect& r) {
    return r.x >= 0 && r.y >= 0 && r.w > 0 && r.h > 0 && r.x + r.w <= 640 && r.y + r.h <= 480;
}

}  // namespace

int main(int argc, char** argv) {
    std::string command = argc > 1 ? argv[1] : "";
    if (command == "match" && argc >= 4) {
        std::vector<Rect> skip;
        for (int i = 4; i < argc; ++i) {
            Rect r{};
            if (std::sscanf(argv[i], "%d,%d,%d,%d", &r.x, &r.y, &r.w, &r.h) != 4) {
                die("bad rectangle " + std::string(argv[i]));
            }
            skip.push_back(r);
        }
        return match(read_ppm(argv[2]), read_bmp(argv[3]), skip);
    }
    if (command == "selected" && argc == 5) {
        Image sheet = read_bmp(argv[3], argv[4]);
        if (sheet.width < 180 || sheet.height < 91) {
            die("button sheet too small");
        }
        return selected(read_ppm(argv[2]), sheet);
    }
    if ((command == "differs" || command == "changed") && argc == 8) {
        Rect r = rect_from(argv + 4);
        if (!in_screen(r)) {
            die("rectangle off the screen");
        }
        Image shot = read_ppm(argv[2]);
        if (command == "differs") {
            Image picture = read_bmp(argv[3]);
            return count_unlike(shot, r, &picture, nullptr);
        }
        Image other = read_ppm(argv[3]);
        return count_unlike(shot, r, nullptr, &other);
    }
    if (command == "bars" && argc == 3) {
        return bars(read_ppm(argv[2]));
    }
    die("usage: see the top of screen_probe.cpp");
}
