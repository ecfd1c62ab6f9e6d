// The SDL2 backend under SDL's test drivers (offscreen window, dummy or disk audio, virtual
// joysticks), its options and settings file: what the real-game runs cannot reach or see.
#include <SDL.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "platform/audio.h"
#include "platform/clock.h"
#include "platform/common/audio_internal.h"
#include "platform/common/joystick_map.h"
#include "platform/common/video_internal.h"
#include "platform/common/window_internal.h"
#include "platform/joystick.h"
#include "platform/keyboard.h"
#include "platform/port/bindings.h"
#include "platform/port/options.h"
#include "platform/port/placement.h"
#include "platform/port/scaler.h"
#include "platform/port/settings.h"
#include "platform/sdl2/sdl2_backend.h"
#include "support/headless_fixture.h"

using namespace platform;

namespace {

// The messages the window procedure was given, WM_QUIT added when the loop takes it.
std::vector<Message> seen;

intptr_t record(WindowHandle window, uint32_t message, uintptr_t wparam, intptr_t lparam) {
    seen.push_back({window, message, wparam, lparam});
    if (message == WM_DESTROY) {
        post_quit_message(0);
        return 0;
    }
    return default_window_proc(window, message, wparam, lparam);
}

// SDL ends with the test program, as it ends with the game, so nothing it holds looks leaked.
class EndSdl : public ::testing::Environment {
  public:
    void TearDown() override { SDL_Quit(); }
};
const auto* const end_sdl = ::testing::AddGlobalTestEnvironment(new EndSdl);

// The game's window, its procedure recording what it is given.
class Sdl2 : public ::testing::Test {
  protected:
    void SetUp() override {
        setenv("SDL_VIDEODRIVER", "offscreen", 1);
        setenv("SDL_RENDER_DRIVER", "software", 1);
        // The window's own pixels, not a GL texture: no software GL driver gets loaded.
        setenv("SDL_FRAMEBUFFER_ACCELERATION", "0", 1);
        setenv("SDL_AUDIODRIVER", "dummy", 1);
        seen.clear();
        common::reset_windows();
        window = test_support::create_test_window(record);
        ASSERT_NE(window, nullptr) << SDL_GetError();
    }
    void TearDown() override {
        common::reset_video();
        common::reset_audio();
        common::reset_windows();
        SDL_QuitSubSystem(SDL_INIT_AUDIO | SDL_INIT_VIDEO);
    }

    // Takes and dispatches every waiting message (the game's loop minus Game_Main).
    void drain() {
        Message message{};
        while (peek_message(&message)) {
            if (message.message == WM_QUIT) {
                seen.push_back(message);
                continue;
            }
            dispatch_message(message);
        }
    }
    static int count_of(uint32_t message) {
        return int(std::count_if(seen.begin(), seen.end(),
                                 [=](const Message& m) { return m.message == message; }));
    }

    WindowHandle window = nullptr;
};
class Keys : public Sdl2 {};
class Present : public Sdl2 {};
class Audio : public Sdl2 {};

// A key as SDL reports it, with the US layout's label.
void push_key(SDL_Scancode scancode, bool down, Uint16 mod = KMOD_NONE, bool repeat = false) {
    SDL_Event event{};
    event.type = down ? SDL_KEYDOWN : SDL_KEYUP;
    event.key.state = down ? SDL_PRESSED : SDL_RELEASED;
    event.key.repeat = repeat ? 1 : 0;
    event.key.keysym.scancode = scancode;
    event.key.keysym.sym = SDL_GetKeyFromScancode(scancode);
    event.key.keysym.mod = mod;
    ASSERT_EQ(SDL_PushEvent(&event), 1) << SDL_GetError();
}

bool held(int key) {
    return async_key_state(key) < 0;
}

// Keys by their labels on a layout where A and Q trade places, and as the player binds them
// (the key that lost its action gives nothing, a key of two actions gives both; Alt+Enter and
// Alt+F4 stay). Either Enter holds Return until both are up; Alt+Enter toggles once, not again
// on the key's repeat, and the game never sees it; a window shrunk below what the settings file
// takes is kept at a size it can save; the window manager's close with its quit is one close.
TEST_F(Keys, ByLabelOnAnyLayoutAsBoundAltEnterSmallestWindowAndCloseHandledHere) {
    port::Settings rebound = port::default_settings();
    rebound.keys[0] = {"Left", "A"};
    rebound.keys[8] = {"D", "Keypad 6"};  // turn clockwise
    rebound.keys[4] = {"Keypad Enter"};   // select
    rebound.keys[9] = {"Return"};         // pause
    const struct {
        bool rebind;
        SDL_Keycode label;
        SDL_Scancode where;
        Uint16 mod;
        std::vector<int> keys;
    } cases[] = {
        {false, SDLK_KP_ENTER, SDL_SCANCODE_KP_ENTER, KMOD_NONE, {VK_RETURN}},
        {false, SDLK_SPACE, SDL_SCANCODE_SPACE, KMOD_NONE, {VK_SPACE}},
        {false, SDLK_a, SDL_SCANCODE_Q, KMOD_NONE, {VK_A}},  // AZERTY: A sits where Q is
        {false, SDLK_q, SDL_SCANCODE_A, KMOD_NONE, {'Q'}},
        {true, SDLK_KP_6, SDL_SCANCODE_KP_6, KMOD_NONE, {VK_S}},
        {true, SDLK_a, SDL_SCANCODE_A, KMOD_NONE, {VK_LEFT, VK_A}},
        {true, SDLK_p, SDL_SCANCODE_P, KMOD_NONE, {}},
        {true, SDLK_RETURN, SDL_SCANCODE_RETURN, KMOD_NONE, {VK_P}},
        {true, SDLK_RETURN, SDL_SCANCODE_RETURN, KMOD_LALT, {VK_RETURN}},
        {true, SDLK_F4, SDL_SCANCODE_F4, KMOD_LALT, {VK_F4}},
    };
    for (const auto& c : cases) {
        port::set_bindings(c.rebind ? rebound : port::default_settings());
        EXPECT_EQ(sdl2::virtual_keys(c.label, c.where, c.mod != KMOD_NONE), c.keys)
            << SDL_GetKeyName(c.label) << (c.rebind ? " rebound" : "");
    }
    push_key(SDL_SCANCODE_A, true);
    drain();
    EXPECT_TRUE(held(VK_LEFT) && held(VK_A));
    push_key(SDL_SCANCODE_A, false);
    port::set_bindings(port::default_settings());
    for (int other : {0x7E, -1, 1000}) {
        EXPECT_EQ(async_key_state(other), 0);
    }
    push_key(SDL_SCANCODE_RETURN, true);
    push_key(SDL_SCANCODE_KP_ENTER, true);
    push_key(SDL_SCANCODE_RETURN, false);
    drain();
    EXPECT_TRUE(held(VK_RETURN));
    push_key(SDL_SCANCODE_KP_ENTER, false);
    drain();
    EXPECT_FALSE(held(VK_RETURN));

    SDL_Window* game = SDL_GetWindowFromID(1);  // the only window since video started
    const Uint32 before = SDL_GetWindowFlags(game) & SDL_WINDOW_FULLSCREEN_DESKTOP;
    push_key(SDL_SCANCODE_RETURN, true, KMOD_LALT);
    push_key(SDL_SCANCODE_RETURN, true, KMOD_LALT, true);
    push_key(SDL_SCANCODE_RETURN, false);
    drain();
    EXPECT_FALSE(held(VK_RETURN));
    EXPECT_NE(SDL_GetWindowFlags(game) & SDL_WINDOW_FULLSCREEN_DESKTOP, before);
    EXPECT_EQ(count_of(WM_KEYDOWN), 4) << "A twice, Return and keypad Enter";
    if ((SDL_GetWindowFlags(game) & SDL_WINDOW_FULLSCREEN_DESKTOP) != 0) {
        backend::toggle_fullscreen();
    }
    SDL_SetWindowSize(game, 120, 90);
    sdl2::window_resized();
    int least[2] = {};
    SDL_GetWindowMinimumSize(game, &least[0], &least[1]);
    for (int size : {least[0], least[1], port::active_settings().window_width,
                     port::active_settings().window_height}) {
        EXPECT_GE(size, port::kMinWindowSize);
    }

    SDL_Event close{};
    close.type = SDL_WINDOWEVENT;
    close.window.event = SDL_WINDOWEVENT_CLOSE;
    close.window.windowID = SDL_GetWindowID(game);
    SDL_Event quit{};
    quit.type = SDL_QUIT;
    ASSERT_EQ(SDL_PushEvent(&close) + SDL_PushEvent(&quit), 2);
    drain();
    EXPECT_EQ(count_of(WM_CLOSE), 1);
    EXPECT_EQ(seen.back().message, WM_QUIT);
    EXPECT_EQ(seen.back().wparam, 0u) << "exit code 0";
}

// A tap between two samples of the keys reads as held once; its release message comes only
// after that read, since the shut-down state ends on the message after the read that saw Esc.
// A tap from before a long wait is forgotten, and its release arrives.
TEST_F(Keys, TapReadsHeldOnceItsReleaseFollowsTheReadAndAnOldOneIsForgotten) {
    for (SDL_Scancode key : {SDL_SCANCODE_ESCAPE, SDL_SCANCODE_UP}) {
        push_key(key, true);
        push_key(key, false);
        drain();
    }
    EXPECT_EQ(count_of(WM_KEYDOWN), 2);
    EXPECT_EQ(count_of(WM_KEYUP), 0);
    EXPECT_TRUE(held(VK_ESCAPE));
    EXPECT_FALSE(held(VK_ESCAPE));
    EXPECT_TRUE(held(VK_UP)) << "another key's query does not use it up";
    drain();
    EXPECT_EQ(count_of(WM_KEYUP), 2);

    push_key(SDL_SCANCODE_SPACE, true);
    push_key(SDL_SCANCODE_SPACE, false);
    drain();
    SDL_Delay(400);
    drain();
    EXPECT_EQ(count_of(WM_KEYUP), 3);
    EXPECT_FALSE(held(VK_SPACE));
}

using Reading = std::vector<uint32_t>;  // x, y, buttons
Reading reading(const JoyInfoEx& info) {
    return {info.dwXpos, info.dwYpos, info.dwButtons};
}
Reading reading(const backend::JoystickNow& now) {
    return {now.x, now.y, now.buttons};
}
// The joystick as the game reads it.
Reading read_joystick() {
    JoyInfoEx info{};
    info.dwSize = sizeof(info);
    EXPECT_EQ(joy_get_pos_ex(JOYSTICKID1, &info), JOYERR_NOERROR);
    return reading(info);
}

TEST(Joystick, GamepadAndPlainJoystickInTheGamesUnits) {
    port::set_bindings(port::default_settings());
    const PadBindings usual = port::pad_bindings();
    port::Settings settings = port::default_settings();
    settings.pad_buttons[0] = {"x", "leftshoulder"};
    settings.pad_buttons[3] = {"x"};
    port::set_bindings(settings);
    const PadBindings own = port::pad_bindings();
    port::set_bindings(port::default_settings());
    backend::JoystickNow info;
    GamepadReading pad;
    pad.left_x = -32768;
    pad.left_y = 32767;
    map_gamepad(pad, usual, &info);
    EXPECT_EQ(reading(info), (Reading{0, 65535, 0}));
    // The d-pad wins over the stick and goes all the way.
    pad.held[SDL_CONTROLLER_BUTTON_DPAD_RIGHT] = pad.held[SDL_CONTROLLER_BUTTON_DPAD_UP] = true;
    map_gamepad(pad, usual, &info);
    EXPECT_EQ(reading(info), (Reading{65535, 0, 0}));
    const struct {
        SDL_GameControllerButton button;
        const PadBindings* bindings;
        uint32_t buttons;
    } cases[] = {{SDL_CONTROLLER_BUTTON_A, &usual, 0x02 | 0x04},
                 {SDL_CONTROLLER_BUTTON_B, &usual, 0x01},
                 {SDL_CONTROLLER_BUTTON_START, &usual, 0x08},
                 {SDL_CONTROLLER_BUTTON_BACK, &usual, 0x10},
                 {SDL_CONTROLLER_BUTTON_X, &usual, 0},
                 {SDL_CONTROLLER_BUTTON_X, &own, 0x01 | 0x08},
                 {SDL_CONTROLLER_BUTTON_LEFTSHOULDER, &own, 0x01},
                 {SDL_CONTROLLER_BUTTON_B, &own, 0}};
    for (const auto& c : cases) {
        GamepadReading pressing;
        pressing.held[c.button] = true;
        map_gamepad(pressing, *c.bindings, &info);
        EXPECT_EQ(reading(info), (Reading{32768, 32768, c.buttons})) << &c - cases;
    }
    JoystickReading plain;
    plain.axis_count = 1;
    plain.axis0 = 32767;
    plain.axis1 = -32768;  // no second axis: ignored
    plain.buttons[0] = plain.buttons[4] = true;
    map_joystick(plain, &info);
    EXPECT_EQ(reading(info), (Reading{65535, 32768, 0x01 | 0x10}));
}

// With nothing plugged in the joystick is there and at rest, so the game keeps reading it; a
// pad plugged in later is read within a fifth of a second, and at rest again once pulled out.
// Other ids and null records are refused.
TEST(Joystick, AbsentPadReadsAtRestAndOnePluggedInLaterIsUsed) {
    JoyInfoEx info{};
    JoyCaps caps{};
    EXPECT_EQ(read_joystick(), (Reading{32768, 32768, 0}));
    ASSERT_EQ(joy_get_dev_caps(JOYSTICKID1, &caps), JOYERR_NOERROR);
    EXPECT_EQ((Reading{caps.wXmin, caps.wXmax, caps.wNumButtons}), (Reading{0, 65535, 5}));
    EXPECT_NE(joy_get_pos_ex(1, &info), JOYERR_NOERROR);
    EXPECT_NE(joy_get_dev_caps(2, &caps), JOYERR_NOERROR);
    EXPECT_NE(joy_get_pos_ex(JOYSTICKID1, nullptr), JOYERR_NOERROR);
    EXPECT_NE(joy_get_dev_caps(JOYSTICKID1, nullptr), JOYERR_NOERROR);

    const int index = SDL_JoystickAttachVirtual(SDL_JOYSTICK_TYPE_GAMECONTROLLER, 6,
                                                SDL_CONTROLLER_BUTTON_MAX, 0);
    ASSERT_GE(index, 0) << SDL_GetError();
    SDL_Joystick* plugged = SDL_JoystickOpen(index);
    ASSERT_NE(plugged, nullptr) << SDL_GetError();
    SDL_JoystickSetVirtualButton(plugged, SDL_CONTROLLER_BUTTON_START, 1);
    SDL_JoystickSetVirtualAxis(plugged, SDL_CONTROLLER_AXIS_LEFTX, 32767);
    SDL_Delay(250);  // an absent pad is looked for five times a second
    EXPECT_EQ(read_joystick(), (Reading{65535, 32768, 0x08}));
    SDL_JoystickClose(plugged);
    SDL_JoystickDetachVirtual(index);
    EXPECT_EQ(read_joystick(), (Reading{32768, 32768, 0}));
}

// The picture in outputs of every common shape: fit fills the height (or the width of a tall
// window) at 4:3; integer takes whole steps, or scales down when not even one fits.
TEST(PictureRect, FitAndIntegerPlacesCentredWithBars) {
    using port::ScaleMode;
    const struct {
        int width, height;
        ScaleMode mode;
        std::vector<int> place;
    } cases[] = {
        {1366, 768, ScaleMode::Fit, {171, 0, 1024, 768}},
        {1920, 1080, ScaleMode::Fit, {240, 0, 1440, 1080}},
        {2560, 1440, ScaleMode::Fit, {320, 0, 1920, 1440}},
        {800, 600, ScaleMode::Fit, {0, 0, 800, 600}},
        {600, 1000, ScaleMode::Fit, {0, 275, 600, 450}},
        {1366, 768, ScaleMode::Integer, {363, 144, 640, 480}},
        {1920, 1080, ScaleMode::Integer, {320, 60, 1280, 960}},
        {2560, 1440, ScaleMode::Integer, {320, 0, 1920, 1440}},
        {800, 600, ScaleMode::Integer, {80, 60, 640, 480}},
        {600, 1000, ScaleMode::Integer, {0, 275, 600, 450}},
        {0, 480, ScaleMode::Fit, {0, 0, 0, 0}},
        {-5, -5, ScaleMode::Integer, {0, 0, 0, 0}},
    };
    for (const auto& c : cases) {
        port::PictureRect r = port::picture_rect(c.width, c.height, c.mode);
        EXPECT_EQ((std::vector<int>{r.x, r.y, r.w, r.h}), c.place)
            << c.width << " x " << c.height << (c.mode == ScaleMode::Fit ? " fit" : " integer");
    }
}

// Whole-number sizes are exact copies; other sizes keep the middle of every game pixel within an
// eighth of the way to its neighbour on each axis (plain bilinear: a third); only rows whose
// pixels changed are drawn again; nothing is written into a texture's padding.
TEST(Scaler, SharpAtEverySizeAndOnlyChangedRowsRedrawn) {
    // Grey levels as indices: a colour's channels show which source pixels were mixed into it.
    std::vector<uint8_t> pixels(640 * 480);
    for (size_t i = 0; i < pixels.size(); ++i) {
        pixels[i] = uint8_t((i % 640) * 37 + (i / 640) * 101);
    }
    uint32_t lookup[256];
    for (uint32_t i = 0; i < 256; ++i) {
        lookup[i] = i * 0x010101u;
    }
    for (auto [w, h] : {std::pair{640, 480}, {1280, 960}, {1024, 768}, {1440, 1080}, {600, 450}}) {
        SCOPED_TRACE(std::to_string(w) + " x " + std::to_string(h));
        port::Scaler scaler;
        scaler.set_size(w, h);
        auto runs = [&] {
            std::vector<int> flat;
            for (const port::RowSpan& run : scaler.update(pixels.data(), lookup)) {
                flat.insert(flat.end(), {run.first, run.last});
            }
            return flat;
        };
        ASSERT_EQ(runs(), (std::vector<int>{0, h}));
        const int pitch = w * 4 + 16;
        std::vector<uint8_t> out(size_t(pitch) * h, 0xAB);
        scaler.write_rows(0, h, out.data(), pitch);
        auto at = [&](int x, int y) {
            uint32_t v = 0;
            std::memcpy(&v, &out[size_t(y) * pitch + size_t(x) * 4], 4);
            return v;
        };
        // Scaled down, a pixel may fall between two: nothing to hold it to.
        const int tolerance = w < 640 ? 255 : (w % 640 == 0 ? 0 : 60);
        for (int sy = 0; sy < 480; sy += 7) {
            for (int sx = 0; sx < 640; sx += 3) {
                const uint32_t got = at((2 * sx + 1) * w / 1280, (2 * sy + 1) * h / 960);
                const int want = int(lookup[pixels[size_t(sy) * 640 + sx]] & 0xFF);
                ASSERT_LE(std::abs(int(got & 0xFF) - want), tolerance) << sx << "," << sy;
                ASSERT_EQ(got, (got & 0xFF) * 0x010101u);
            }
            ASSERT_EQ(out[size_t(sy * h / 480) * pitch + size_t(w) * 4], 0xAB);
        }
        EXPECT_EQ(runs(), std::vector<int>{}) << "nothing changed";
        // One changed pixel: a short run that holds its row.
        pixels[400 * 640 + 600] ^= 0xFF;
        std::vector<int> one = runs();
        ASSERT_EQ(one.size(), 2u);
        EXPECT_TRUE(one[0] <= 400 * h / 480 && one[1] >= 401 * h / 480 && one[1] - one[0] < h / 8);
    }
}

// Shown by the next clock read without a flip: the primary blanked between pictures, a fade step
// (the palette alone), and a new picture's 256 single-entry palette sets, ending in the last.
TEST_F(Present, PaletteChangesAndFillsOfThePrimaryShowByTheNextClockRead) {
    test_support::TestDisplay display;
    ASSERT_TRUE(test_support::create_test_display(window, &display));
    auto set_colour = [&](int index, uint8_t r, uint8_t g, uint8_t b) {
        PaletteEntry entry{r, g, b, PC_NOCOLLAPSE};
        ASSERT_EQ(palette_set_entries(display.palette, 0, index, 1, &entry), OK);
    };
    // The colour (0xRRGGBB) in the middle of the window, after the game's next clock read.
    auto shown = [] {
        SDL_Delay(10);
        tick_count();
        SDL_Renderer* renderer = SDL_GetRenderer(SDL_GetWindowFromID(1));
        int width = 0;
        int height = 0;
        SDL_GetRendererOutputSize(renderer, &width, &height);
        SDL_Rect middle{width / 2, height / 2, 1, 1};
        uint32_t pixel = 0;
        EXPECT_EQ(SDL_RenderReadPixels(renderer, &middle, SDL_PIXELFORMAT_RGB888, &pixel, 4), 0);
        return pixel & 0xFFFFFF;
    };
    set_colour(5, 10, 200, 30);
    SurfaceDesc desc{};
    ASSERT_EQ(surface_lock(display.primary, &desc, DDLOCK_WAIT), OK);
    std::memset(desc.lpSurface, 5, 640 * 480);
    ASSERT_EQ(surface_unlock(display.primary, desc.lpSurface), OK);
    EXPECT_EQ(shown(), 0x0AC81Eu);
    set_colour(5, 1, 2, 3);
    EXPECT_EQ(shown(), 0x010203u);
    for (int i = 0; i < 256; ++i) {
        set_colour(i, uint8_t(i), 100, 50);
    }
    EXPECT_EQ(shown(), 0x056432u);
}

// Sound through SDL's disk driver, which runs the callback in real time and writes what the
// mixer made to a file: a sound plays, reports playing and ends, polled as the menu's exit does,
// and the file holds it at its volume on both channels.
TEST_F(Audio, SoundPlaysReportsPlayingAndEndsOnTheDevice) {
    const std::string path = ::testing::TempDir() + "cellstorm_disk_audio.raw";
    std::remove(path.c_str());
    setenv("SDL_AUDIODRIVER", "disk", 1);
    setenv("SDL_DISKAUDIOFILE", path.c_str(), 1);
    SoundDevice* device = test_support::create_test_sound_device(window);
    // 0.1 s at the top of the range, at -6 dB: half the amplitude.
    SoundBuffer* buffer = test_support::create_test_sound(device, std::vector<uint8_t>(1103, 255));
    ASSERT_NE(buffer, nullptr);
    ASSERT_EQ(buffer_set_volume(buffer, -600), OK);
    ASSERT_EQ(buffer_play(buffer, 0, 0, 0), OK);
    uint32_t status = 0;
    ASSERT_EQ(buffer_get_status(buffer, &status), OK);
    EXPECT_EQ(status, DSBSTATUS_PLAYING);
    // A broken device fails after a generous bound.
    for (Uint64 start = SDL_GetTicks64(); status != 0 && SDL_GetTicks64() - start < 5000;) {
        ASSERT_EQ(buffer_get_status(buffer, &status), OK);
    }
    EXPECT_EQ(status, 0u) << "still playing after 5 s";
    SDL_Delay(50);
    EXPECT_EQ(sound_release(device), 0u);
    std::FILE* file = std::fopen(path.c_str(), "rb");
    ASSERT_NE(file, nullptr);
    std::vector<int16_t> samples(1 << 21);
    samples.resize(std::fread(samples.data(), sizeof(int16_t), samples.size(), file));
    std::fclose(file);
    std::remove(path.c_str());
    // The device runs at 44.1 kHz stereo unless it says otherwise; 0.1 s of sound is then
    // 4410 frames of 127 * 256 at half amplitude, left and right alike.
    size_t half = std::count_if(samples.begin(), samples.end(),
                                [](int16_t value) { return value > 16000 && value < 16400; });
    EXPECT_GE(half, 2 * 4000u);
    EXPECT_LE(half, 2 * 4900u);
}

// Every option the game runs with, and which of --help and --version wins (mistakes: options.sh).
TEST(Options, EveryOptionIsRead) {
    port::Options o;
    std::string error;
    auto parse = [&](std::vector<const char*> args) {
        args.insert(args.begin(), "cellstorm");
        return port::parse_options(int(args.size()), args.data(), &o, &error);
    };
    ASSERT_EQ(parse({"--window", "--scale", "integer", "--no-sound", "--data", "/",
                     "--config=c.ini", "--verbose", "--record=r.txt", "--playback", "p.txt"}),
              port::ParseResult::Run);
    EXPECT_EQ(o.session.record_path, "r.txt");
    EXPECT_EQ(o.session.playback_path, "p.txt");
    EXPECT_TRUE(o.window_given && !o.fullscreen && o.scale_given && o.no_sound && o.verbose);
    EXPECT_EQ(o.scale, port::ScaleMode::Integer);
    EXPECT_EQ(o.data_dir, "/");
    EXPECT_EQ(o.config_file, "c.ini");
    ASSERT_EQ(parse({"--window", "--fullscreen", "--scale=fit"}), port::ParseResult::Run);
    EXPECT_TRUE(o.window_given && o.fullscreen && o.scale == port::ScaleMode::Fit);
    ASSERT_EQ(parse({}), port::ParseResult::Run);
    EXPECT_FALSE(o.window_given || o.scale_given || o.no_sound || o.verbose);
    EXPECT_EQ(parse({"--version"}), port::ParseResult::Version);
    EXPECT_EQ(parse({"--version", "-h"}), port::ParseResult::Help);
}

// Each bad line is named with its number and left as it is, the good ones (and a list's good
// names) still count, and keys bound twice are named. A write-back changes only the lines of
// what changed, adding those it lacks to their section; every setting at its bounds reads back
// the same, with no temporary file left. A folder that cannot be made is reported and nothing
// is saved; a missing file gives the defaults. Without XDG_CONFIG_HOME (the e2e runs set it)
// the file is under HOME.
TEST(SettingsFile, BadLinesNamedAndKeptOnlyChangedLinesWrittenAndAnUnwritableFolderReported) {
    char pattern[] = "/tmp/cellstorm-settings-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    const std::string dir = pattern;
    const std::string path = dir + "/sub/cellstorm.ini";
    std::string reason;
    ASSERT_TRUE(port::prepare_settings_folder(path, &reason)) << reason;
    const std::string hand_edited =
        "# mine\n"                           // 1
        "[display]\n"                        // 2
        "fullscreen = no ; for now\n"        // 3
        "scale = stretched\n"                // 4
        "window_width = 99\n"                // 5
        "\n"                                 // 6
        "colour = blue\n"                    // 7
        "[keys]\n"                           // 8
        "left = Left, A\n"                   // 9
        "turn_clockwise = Up, Frobnicate\n"  // 10
        "pause = NoSuchKey\n"                // 11
        "[gamepad]\n"                        // 12
        "button1 = z\n"                      // 13
        "[sound]\n"                          // 14
        "volume = 3\n"                       // 15
        "this line has no equals sign\n"     // 16
        "[display\n" +                       // 17
        std::string(300, 'x');               // 18
    std::ofstream(path) << hand_edited;
    port::Settings settings = port::default_settings();
    std::vector<std::string> warnings;
    ASSERT_TRUE(port::load_settings(path, &settings, &warnings));
    const char* expected[] = {"line 4: scale",
                              "line 5: window_width",
                              "line 7: unknown setting",
                              "line 10: no key is named 'Frobnicate'; the line's other names",
                              "line 11: no key is named 'NoSuchKey'; the line is ignored",
                              "line 13: no gamepad button",
                              "line 15: unknown section [sound]",
                              "line 16: not a setting",
                              "line 17: not a setting",
                              "line 18: longer than"};
    ASSERT_EQ(warnings.size(), std::size(expected));
    for (size_t i = 0; i < warnings.size(); ++i) {
        EXPECT_NE(warnings[i].find(expected[i]), std::string::npos) << warnings[i];
        EXPECT_EQ(warnings[i].find(path), 0u) << warnings[i];
    }
    EXPECT_EQ(
        port::keys_bound_twice(settings),
        (std::vector<std::string>{"A is bound to left and turn_counter_clockwise; it does both",
                                  "Up is bound to up and turn_clockwise; it does both"}));
    port::Settings good_lines = port::default_settings();
    good_lines.fullscreen = false;
    good_lines.keys[0] = {"Left", "A"};
    good_lines.keys[8] = {"Up"};
    EXPECT_EQ(port::settings_text(settings), port::settings_text(good_lines));

    auto lines_of = [](std::string text) {
        std::vector<std::string> lines;
        for (size_t end; (end = text.find('\n')) != std::string::npos; text.erase(0, end + 1)) {
            lines.push_back(text.substr(0, end));
        }
        return lines.push_back(text), lines;
    };
    port::Settings played = settings;
    played.fullscreen = true;
    played.window_width = 1280;
    played.window_height = 960;
    ASSERT_TRUE(port::save_settings(path, settings, played, &reason)) << reason;
    std::vector<std::string> changed = lines_of(hand_edited);
    changed[2] = "fullscreen = yes";
    changed.insert(changed.begin() + 7, {"window_width = 1280", "window_height = 960"});
    std::stringstream saved;
    saved << std::ifstream(path).rdbuf();
    EXPECT_EQ(lines_of(saved.str()), changed);

    std::vector<port::Settings> bounds = {played, port::default_settings()};
    bounds[0].scale = port::ScaleMode::Integer;
    bounds[0].window_width = bounds[1].window_height = port::kMinWindowSize;
    bounds[0].window_height = bounds[1].window_width = port::kMaxWindowSize;
    bounds[0].keys[8] = {"D", "Keypad 6"};
    bounds[0].keys[0] = {};
    bounds[1].keys[0] = {"Left", "Right", "Up", "Down", "Return", "Space", "Escape", "A", "S"};
    bounds[0].pad_buttons[2] = {"X", "dpright"};  // SDL's names, in any case
    bounds[1].pad_buttons[0] = {};
    bounds[1].fullscreen = false;
    // And every key SDL names, three to a line with the pad buttons: ';' or ',' among them too.
    ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_VIDEO), 0) << "the keyboard's names come with video";
    for (int code = 0, slot = 0; code < SDL_NUM_SCANCODES; ++code) {
        const char* name = SDL_GetKeyName(SDL_GetKeyFromScancode(SDL_Scancode(code)));
        if (*name != '\0' && slot++ % (3 * port::kGameKeyCount) == 0) {
            bounds.push_back(port::default_settings());
            bounds.back().keys[0].clear();
            for (int i = 0; i < 15; ++i) {
                bounds.back().pad_buttons[i % 5].push_back(
                    SDL_GameControllerGetStringForButton(SDL_GameControllerButton(i)));
            }
        }
        if (*name != '\0') {
            bounds.back().keys[slot % port::kGameKeyCount].push_back(name);
        }
    }
    port::Settings before = played;
    for (const port::Settings& wanted : bounds) {
        ASSERT_TRUE(port::save_settings(path, before, wanted, &reason)) << reason;
        EXPECT_NE(std::system(("ls " + dir + "/sub | grep -qv '^cellstorm.ini$'").c_str()), 0)
            << "a temporary file left";
        port::Settings again = port::default_settings();
        warnings.clear();
        ASSERT_TRUE(port::load_settings(path, &again, &warnings));
        EXPECT_EQ(port::settings_text(again), port::settings_text(wanted));
        EXPECT_EQ(warnings.size(), std::size(expected) - 1) << "all but the mended line 10";
        before = wanted;
    }

    std::ofstream(dir + "/blocked") << "a file, not a folder";
    const std::string blocked = dir + "/blocked/cellstorm/cellstorm.ini";
    EXPECT_FALSE(port::prepare_settings_folder(blocked, &reason));
    EXPECT_NE(reason.find(dir + "/blocked/cellstorm"), std::string::npos) << reason;
    EXPECT_FALSE(port::save_settings(blocked, settings, settings, &reason));
    EXPECT_TRUE(port::load_settings(blocked, &settings, &warnings)) << "missing: the defaults";
    setenv("XDG_CONFIG_HOME", "", 1);
    setenv("HOME", "/home/p", 1);
    EXPECT_EQ(port::default_settings_path(), "/home/p/.config/cellstorm/cellstorm.ini");
    unsetenv("XDG_CONFIG_HOME");
    std::system(("rm -rf '" + dir + "'").c_str());
}

}  // namespace
