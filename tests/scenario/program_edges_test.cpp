// How the program ends other than by the closing screen, and runs without some of its files.
#include <gtest/gtest.h>

#include "app/winmain.h"
#include "frontend/main_menu.h"
#include "game/piece.h"
#include "platform/common/backend.h"
#include "platform/keyboard.h"
#include "scenario_steps.h"
#include "sound/sound.h"
#include "support/app_child.h"
#include "support/app_data.h"
#include "support/app_game.h"
#include "support/app_script.h"

namespace hl = platform::headless;
using Kind = hl::SoundEvent::Kind;
using Step = platform::backend::Step;
using namespace scenario;

namespace {

void Post(uint32_t message, uintptr_t wparam) {
    platform::post_message(hl::main_window(), message, wparam, 0);
}

// From the menu: Esc points at the exit item when no game is in progress, Enter takes it.
void Choose_Exit(AppScript& script) {
    script.hold(platform::VK_ESCAPE).then([] { Press(platform::VK_RETURN); });
    script.when([] { return game_state != FLOW_MENU; }, [] { Release(platform::VK_RETURN); });
}

}  // namespace

TEST(ProgramEdges, CloseRequestOnlyWithWParamOne) {
    app_expect_in_child([] {
        app_start_platform(app_make_data_dir());
        AppScript script;
        script.wait(State_Is(FLOW_MENU)).then([] {
            Post(platform::WM_USER, 0);
            Post(platform::WM_USER, 2);
        });
        script.wait(After_Peeks(10)).then([] {
            EXPECT_NE(nullptr, hl::main_window());
            EXPECT_EQ(FLOW_MENU, game_state);
            Post(platform::WM_USER, 1);
        });
        script.install();
        EXPECT_EQ(0, WinMain(nullptr, nullptr, nullptr, 0));
        EXPECT_EQ(0u, script.remaining());
        EXPECT_EQ(nullptr, hl::main_window());
        EXPECT_TRUE(hl::cursor_visible());
        EXPECT_EQ(nullptr, hl::primary_pixels());
    });
}

TEST(ProgramEdges, AltF4ClosesThroughTheDefaultHandling) {
    app_expect_in_child([] {
        app_start_platform(app_make_data_dir());
        AppScript script;
        script.wait(State_Is(FLOW_MENU)).then([] {
            Press(hl::VK_MENU);
            Press(platform::VK_F4);
        });
        script.install();
        EXPECT_EQ(0, WinMain(nullptr, nullptr, nullptr, 0));
        EXPECT_EQ(nullptr, hl::main_window());
    });
}

// After the closing screen the next message ends the loop without reaching the window: a close
// request then closes nothing.
TEST(ProgramEdges, MessageAfterShutdownEndsTheLoopUndispatched) {
    app_expect_in_child([] {
        app_start_platform(app_make_data_dir());
        AppScript script;
        script.wait(State_Is(FLOW_MENU));
        Choose_Exit(script);
        script.when(State_Is(FLOW_CLOSING_SCREEN), [] { Press(platform::VK_ESCAPE); });
        script.when(State_Is(FLOW_SHUTDOWN), [] {});
        script.wait(After_Peeks(5)).then([] { Post(platform::WM_USER, 1); });
        script.install();
        EXPECT_EQ(0, WinMain(nullptr, nullptr, nullptr, 0));
        EXPECT_EQ(0u, script.remaining());
        EXPECT_NE(nullptr, hl::main_window());
    });
}

TEST(ProgramEdges, MissingClosingPictureEndsAtTheExit) {
    app_expect_in_child([] {
        AppDataSet set;
        set.pictures[int(AppPicture::Closing)] = false;
        app_start_platform(app_make_data_dir(set));
        const platform::SoundBuffer* trail = nullptr;
        AppScript script;
        script.wait(State_Is(FLOW_MENU)).then([&trail] { trail = app_sound_buffer(sound_trail); });
        Choose_Exit(script);
        script.install();
        EXPECT_EQ(0, WinMain(nullptr, nullptr, nullptr, 0));
        EXPECT_EQ(FLOW_EXIT, game_state);
        EXPECT_EQ(0, app_count_sound_events(trail, Kind::Play));
        EXPECT_EQ(nullptr, hl::primary_pixels());
    });
}

// Without menu pictures or level art the game still runs: a start, play frames, the way out.
TEST(ProgramEdges, MissingMenuPicturesAndLevelArtDoNotStopTheGame) {
    for (AppPicture missing :
         {AppPicture::Menu, AppPicture::Buttons, AppPicture::Blocks, AppPicture::Background}) {
        app_expect_in_child([missing] {
            AppDataSet set;
            set.pictures[int(missing)] = false;
            app_start_platform(app_make_data_dir(set));
            AppScript script;
            script.wait(State_Is(FLOW_MENU)).then([] { Press(platform::VK_RETURN); });
            script.when(State_Is(FLOW_PLAYING), [] { Release(platform::VK_RETURN); });
            script.wait(After_Peeks(40)).then([] {
                EXPECT_EQ(FLOW_PLAYING, game_state);
                EXPECT_GT(piece.y, 0);
                Press(platform::VK_ESCAPE);
            });
            script.when(State_Is(FLOW_MENU), [] { Release(platform::VK_ESCAPE); });
            script.hold(platform::VK_DOWN, 6).then([] { Press(platform::VK_RETURN); });
            script.when(State_Is(FLOW_CLOSING_SCREEN), [] {
                Release(platform::VK_RETURN);
                Press(platform::VK_SPACE);
            });
            script.when(State_Is(FLOW_SHUTDOWN), [] { Release(platform::VK_SPACE); });
            script.install();
            EXPECT_EQ(0, WinMain(nullptr, nullptr, nullptr, 0)) << int(missing);
            EXPECT_EQ(0u, script.remaining()) << int(missing);
        });
    }
}

TEST(ProgramEdges, NoDisplayOrNoWindowEndsAtOnce) {
    for (Step step : {Step::RegisterClass, Step::CreateWindow, Step::DisplayMode}) {
        app_expect_in_child([step] {
            app_start_platform(app_make_data_dir());
            hl::fail(step);
            EXPECT_EQ(0, WinMain(nullptr, nullptr, nullptr, 0));
            EXPECT_EQ(nullptr, hl::main_window());
            EXPECT_EQ(FLOW_STARTUP, game_state);
            EXPECT_EQ(0u, hl::step_calls(Step::SoundCreate));
        });
    }
}
