#include "graphics/transition.h"

#include "common/frame_clock.h"
#include "graphics/back_buffer.h"

namespace {

constexpr int DARKNESS_STEPS = 80;
constexpr int WHITENESS_STEPS = 64;
constexpr uint32_t STEP_MS = 12;

// KEPT: 3 a step over 80 steps takes 240 off, so a component above 240 ends a little above black
// (255 ends at 15).
uint8_t Darker(int value) {
    return uint8_t(value > 4 ? value - 3 : 0);
}

uint8_t Whiter(int value) {
    return uint8_t(value + 4 > 255 ? 255 : value + 4);
}

// Each step starts again from what the palette holds now, so a fade picks up from the
// colours last set.
template <typename Change>
void Fade(int steps, int first_entry, Change change) {
    PALETTEENTRY work[256];
    for (int step = 0; step < steps; ++step) {
        Save_Palette(work);
        for (int index = first_entry; index < 256; ++index) {
            work[index].peRed = change(work[index].peRed);
            work[index].peGreen = change(work[index].peGreen);
            work[index].peBlue = change(work[index].peBlue);
        }
        Restore_Palette(work);
        Start_Clock();
        Wait_Clock(STEP_MS);
    }
}

}  // namespace

void Screen_Transition(int effect, uint8_t* video_buffer, int lpitch) {
    (void)video_buffer;
    (void)lpitch;
    switch (effect) {
        case SCREEN_DARKNESS:
            Fade(DARKNESS_STEPS, 1, Darker);
            break;
        case SCREEN_WHITENESS:
            Fade(WHITENESS_STEPS, 0, Whiter);
            break;
        default:
            break;
    }
}
