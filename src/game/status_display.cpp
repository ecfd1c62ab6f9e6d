// The counters and the pulsing banner line of the play screen, drawn as text on the back surface.
#include <cstdio>
#include <cstring>

#include "game/line_clear.h"
#include "game/play_screen.h"
#include "graphics/back_buffer.h"
#include "graphics/display.h"
#include "platform/video.h"

char text_buffer[TEXT_BUFFER_SIZE];
int banner_glow = 0;
int banner_glow_step = 2;

namespace {

constexpr const char* BANNER_TEXT = "CELLSTORM Version 1.0";
constexpr int BANNER_X = 8;
constexpr int BANNER_Y = 464;
// The banner's green swings between these, overshooting each by one step.
constexpr int BANNER_GLOW_LOW = 2;
constexpr int BANNER_GLOW_HIGH = 100;

struct Counter {
    const int* value;
    int add;  // level is kept 0-based and shown from 1
    int x;
    int y;
};

// In the order they are written.
const Counter counters[] = {
    {&score, 0, 432, 80},        {&level, 1, 430, 150},       {&lines_total, 0, 420, 280},
    {&clears_of_3, 0, 438, 214}, {&clears_of_4, 0, 512, 214}, {&clears_of_6, 0, 580, 214},
};

void Write_Number(platform::DeviceContext* dc, long long value, int x, int y) {
    int length = std::snprintf(text_buffer, sizeof(text_buffer), "%lld", value);
    if (length > 0) {
        platform::text_out(dc, x, y, text_buffer, int(std::strlen(text_buffer)));
    }
}

}  // namespace

int Draw_Status() {
    // Text goes through a device context, which a locked surface refuses.
    DD_Unlock_Back_Surface();
    platform::DeviceContext* dc = nullptr;
    if (back_surface == nullptr || platform::surface_get_dc(back_surface, &dc) != platform::OK ||
        dc == nullptr) {
        // No text this frame; the buffer is handed back locked as on every other frame.
        DD_Lock_Back_Surface();
        return 0;
    }

    platform::set_text_color(dc, platform::rgb(0, 255, 0));
    platform::set_bk_mode(dc, platform::TRANSPARENT);
    for (const Counter& counter : counters) {
        Write_Number(dc, static_cast<long long>(*counter.value) + counter.add, counter.x,
                     counter.y);
    }

    banner_glow += banner_glow_step;
    if (banner_glow > BANNER_GLOW_HIGH || banner_glow < BANNER_GLOW_LOW) {
        banner_glow_step = -banner_glow_step;
    }
    platform::set_text_color(dc, platform::rgb(0, uint8_t(banner_glow & 0xFF), 0));
    platform::text_out(dc, BANNER_X, BANNER_Y, BANNER_TEXT, int(std::strlen(BANNER_TEXT)));

    platform::surface_release_dc(back_surface, dc);
    DD_Lock_Back_Surface();
    return 1;
}
