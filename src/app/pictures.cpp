#include "app/pictures.h"

#include "graphics/back_buffer.h"
#include "graphics/bitmap_file.h"
#include "graphics/display.h"
#include "graphics/image.h"
#include "graphics/transition.h"
#include "platform/clock.h"
#include "sound/sound.h"

namespace {
constexpr uint32_t TITLE_HOLD_MS = 2000;
}

int Show_Picture() {
    // Nothing may hold the back buffer while the pages are cleared.
    DD_Unlock_Back_Surface();
    DD_Fill_Surface(primary_surface, 0);
    DD_Fill_Surface(back_surface, 0);
    Set_Palette(work_bitmap.palette, 256);
    DD_Lock_Back_Surface();
    // Copies only what the picture holds and nothing through a refused lock.
    Draw_Bitmap_Screen(back_buffer, &work_bitmap);
    DD_Unlock_Back_Surface();
    DD_Flip();
    return 1;
}

int Show_Title_Screen() {
    if (!Load_Bitmap_File(&work_bitmap, "CSSPL8.BMP")) {
        return 0;
    }
    Play_Sound(sound_splash, 0, 0, 0, 0);
    Show_Picture();
    platform::sleep_ms(TITLE_HOLD_MS);
    Screen_Transition(SCREEN_DARKNESS, nullptr, SCREEN_WIDTH);
    Unload_Bitmap_File(&work_bitmap);
    return 1;
}
