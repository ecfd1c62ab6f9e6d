// The menu's pictures, entry and frame drawing: what is loaded once, which palette shows when,
// the selected button and value text, and the glow of that text.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "app/game_state.h"
#include "frontend/main_menu.h"
#include "game/line_clear.h"
#include "game/playfield_file.h"
#include "game/shapes.h"
#include "menu_fixture.h"
#include "platform/keyboard.h"
#include "sound/sound.h"
#include "support/app_data.h"
#include "support/screen_text.h"

namespace {

namespace headless = platform::headless;
using Kind = headless::SoundEvent::Kind;

struct Spot {
    int x;
    int y;
};
const Spot buttons[7] = {{99, 112}, {99, 158}, {99, 205}, {98, 252},
                         {98, 298}, {98, 347}, {98, 393}};
const Spot values[7] = {{0, 0}, {422, 173}, {448, 220}, {318, 268}, {546, 316}, {562, 364}, {0, 0}};

bool Square_Is(const uint8_t* pixels, Spot at, int size, uint8_t value) {
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            if (pixels[(at.y + y) * 640 + at.x + x] != value) {
                return false;
            }
        }
    }
    return true;
}

bool Palette_Equals(const PALETTEENTRY* a, const PALETTEENTRY* b) {
    return std::memcmp(a, b, 256 * sizeof(PALETTEENTRY)) == 0;
}

bool Hardware_Palette_Is(const PALETTEENTRY* palette) {
    return Palette_Equals(headless::hardware_palette().data(), palette);
}

// Pixels other than the background in the whole screen.
int Stray_Pixels(const uint8_t* pixels) {
    int count = 0;
    for (int i = 0; i < 640 * 480; ++i) {
        count += pixels[i] != MENU_BACKGROUND_PIXEL;
    }
    return count;
}

TEST_F(MainMenuTest, EnteringLoadsThePicturesKeepsTheGamePaletteAndStartsTheMenuMusic) {
    ASSERT_EQ(Main_Menu(MENU_ENTER), 1);
    EXPECT_EQ(menu_first_call, 0);
    EXPECT_EQ(menu_cursor, 0);
    EXPECT_TRUE(Palette_Equals(game_palette_save, game_palette));
    EXPECT_TRUE(Hardware_Palette_Is(menu_palette));
    EXPECT_EQ(menu_palette[MENU_GLOW_ENTRY].peBlue, 68);

    EXPECT_EQ(menu_background.state, IMAGE_LOADED);
    EXPECT_EQ(menu_background.width, 640);
    EXPECT_EQ(menu_background.height, 480);
    for (int i = 0; i < 7; ++i) {
        const BitmapImage& button = menu_buttons[i];
        EXPECT_EQ(button.state, IMAGE_LOADED) << i;
        EXPECT_EQ(button.x, buttons[i].x) << i;
        EXPECT_EQ(button.y, buttons[i].y) << i;
        ASSERT_EQ(button.num_bytes, 44 * 44) << i;
        // Cell (i mod 4, i div 4) of the sheet: every pixel is that button's own value.
        for (int p = 0; p < button.num_bytes; ++p) {
            ASSERT_EQ(button.buffer[p], APP_BUTTON_PIXEL + i) << i << " pixel " << p;
        }
    }

    EXPECT_EQ(Sound_Events(sound_song, Kind::Stop), 1);
    EXPECT_EQ(Sound_Events(sound_intro, Kind::Play, 1), 1);          // looping
    EXPECT_EQ(Stray_Pixels(headless::primary_pixels()), 640 * 480);  // cleared to colour 0
}

TEST_F(MainMenuTest, MissingBackgroundFailsTheFirstCallAndIsNotTriedAgain) {
    std::remove((dir + "/CSCON8.BMP").c_str());
    EXPECT_EQ(Main_Menu(MENU_FRAME), 0);  // any mode: nothing of the frame is done
    EXPECT_EQ(menu_first_call, 0);
    EXPECT_EQ(game_state, FLOW_MENU);
    EXPECT_TRUE(headless::sound_events().empty());

    Write_Menu_Background();
    EXPECT_EQ(Main_Menu(MENU_ENTER), 1);
    EXPECT_NE(menu_background.state, IMAGE_LOADED);
    EXPECT_NE(menu_buttons[0].state, IMAGE_LOADED);
    PALETTEENTRY black[256];
    std::memset(black, 0, sizeof(black));
    EXPECT_TRUE(Hardware_Palette_Is(black));  // a palette never copied is all black
    EXPECT_EQ(Frame({platform::VK_DOWN}), 1);
    EXPECT_EQ(menu_cursor, 1);
}

TEST_F(MainMenuTest, MissingButtonsLeaveTheBackgroundAlone) {
    std::remove((dir + "/XCNBUT8.BMP").c_str());
    EXPECT_EQ(Main_Menu(MENU_ENTER), 0);
    EXPECT_EQ(menu_background.state, IMAGE_LOADED);
    EXPECT_EQ(menu_palette[MENU_GLOW_ENTRY].peBlue, 68);
    EXPECT_TRUE(Hardware_Palette_Is(game_palette));  // the entry's work was not done

    Main_Menu(MENU_ENTER);
    EXPECT_EQ(Frame(), 1);
    EXPECT_TRUE(Square_Is(headless::primary_pixels(), buttons[0], 44, MENU_BACKGROUND_PIXEL));
}

TEST_F(MainMenuTest, FrameShowsTheBackgroundTheSelectedButtonAndItsValue) {
    Main_Menu(MENU_ENTER);
    EXPECT_EQ(Frame({platform::VK_DOWN}), 1);
    const uint8_t* screen = headless::primary_pixels();
    for (int i = 0; i < 7; ++i) {
        uint8_t want = i == 1 ? uint8_t(APP_BUTTON_PIXEL + 1) : MENU_BACKGROUND_PIXEL;
        EXPECT_TRUE(Square_Is(screen, buttons[i], 44, want)) << i;
    }
    EXPECT_EQ(screen_text_mismatch(screen, 422, 173, "(1)", Glow_Ink(138)), "");
    // Nothing else: the button's square and the value's ink are all that differ.
    int ink = 0;
    for (int p = 0; p < 640 * 480; ++p) {
        ink += screen[p] == Glow_Ink(138);
    }
    EXPECT_EQ(Stray_Pixels(screen), 44 * 44 + ink);
}

TEST_F(MainMenuTest, EachItemShowsItsValueInItsFormat) {
    playfield_number = 15;
    game_type = GAME_XTREME;
    level = 12;  // raised by play beyond the menu's range
    music_volume = 35;
    effects_volume = 0;
    const char* texts[7] = {"", "(16)", "(Dorodo Veraviva!)", "(13)", "(35%)", "(0%)", ""};
    Main_Menu(MENU_ENTER);
    for (int item = 0; item < 7; ++item) {
        menu_cursor = item;
        Frame();
        const uint8_t* screen = headless::primary_pixels();
        if (texts[item][0] == '\0') {
            EXPECT_EQ(Stray_Pixels(screen), 44 * 44) << item;  // the button alone
        } else {
            EXPECT_EQ(screen_text_mismatch(screen, values[item].x, values[item].y, texts[item],
                                           Glow_Ink(text_glow)),
                      "")
                << item;
        }
    }
    game_type = GAME_CLASSIC;
    menu_cursor = 2;
    Frame();
    EXPECT_EQ(screen_text_mismatch(headless::primary_pixels(), 448, 220, "(Classic)",
                                   Glow_Ink(text_glow)),
              "");
}

TEST_F(MainMenuTest, GlowShowsEachEndTwiceAndGoesOnAfterReentry) {
    std::vector<int> glows;
    for (int v = 138; v <= 248; v += 10)
        glows.push_back(v);
    for (int v = 248; v >= 68; v -= 10)
        glows.push_back(v);
    for (int v = 68; v <= 108; v += 10)
        glows.push_back(v);
    Main_Menu(MENU_ENTER);
    menu_cursor = 1;
    for (size_t frame = 0; frame < glows.size(); ++frame) {
        Frame();
        ASSERT_EQ(screen_text_mismatch(headless::primary_pixels(), 422, 173, "(1)",
                                       Glow_Ink(glows[frame])),
                  "")
            << "frame " << frame << " glow " << glows[frame];
    }
    // The colour itself: red 95 %, green 50 %, blue 100 %, truncated.
    const PALETTEENTRY& top = menu_palette[Glow_Ink(248)];
    EXPECT_EQ(top.peRed, 235);
    EXPECT_EQ(top.peGreen, 124);
    EXPECT_EQ(top.peBlue, 248);

    Main_Menu(MENU_ENTER);
    EXPECT_EQ(text_glow, 108);
    menu_cursor = 1;
    Frame();
    EXPECT_EQ(screen_text_mismatch(headless::primary_pixels(), 422, 173, "(1)", Glow_Ink(118)), "");
}

TEST_F(MainMenuTest, RefusedDeviceContextShowsTheFrameWithoutTextAndHoldsTheGlow) {
    Main_Menu(MENU_ENTER);
    menu_cursor = 1;
    headless::fail(platform::backend::Step::SurfaceGetDC);
    EXPECT_EQ(Frame(), 1);
    EXPECT_EQ(text_glow, 128);
    const uint8_t* screen = headless::primary_pixels();
    EXPECT_TRUE(Square_Is(screen, buttons[1], 44, uint8_t(APP_BUTTON_PIXEL + 1)));
    EXPECT_EQ(Stray_Pixels(screen), 44 * 44);
    headless::clear_faults();
    Frame();
    EXPECT_EQ(text_glow, 138);
}

}  // namespace
