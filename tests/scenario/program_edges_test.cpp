// How the program ends other than by the closing screen, and runs without some of its files.
#include <gtest/gtest.h>

#include "app/winmain.h"
#include "game/piece.h"
#include "platform/common/backend.h"
#include "platform/keyboard.h"
#include "support/app_data.h"
#include "support/app_game.h"
#include "support/app_script.h"

namespace hl = platform::headless;
using Step = platform::backend::Step;

namespace {

void Post(uintptr_t wparam) {
    platform::post_message(hl::main_window(), platform::WM_USER, wparam, 0);
}

// From the menu: Esc points at the exit item when no game is in progress, Enter takes it.
void Choose_Exit(AppScript& script) {
    script.hold(platform::VK_ESCAPE).then([] { Press(platform::VK_RETURN); });
    script.when([] { return game_state != FLOW_MENU; }, [] { Release(platform::VK_RETURN); });
}

}  // namespace

// WM_USER closes only with wParam 1; Alt+F4 closes through the default handling.
TEST(ProgramEdges, CloseRequestAndAltF4EndTheProgram) {
    app_expect_in_child([] {
        AppScript script;
        script.wait(State_Is(FLOW_MENU)).then([] {
            Post(0);
            Post(2);
        });
        script.wait(After_Peeks(10)).then([] {
            EXPECT_NE(nullptr, hl::main_window());
            EXPECT_EQ(FLOW_MENU, game_state);
            Post(1);
        });
        EXPECT_EQ(0, script.run(app_make_data_dir()));
        EXPECT_EQ(nullptr, hl::main_window());
        EXPECT_TRUE(hl::cursor_visible());
        EXPECT_EQ(nullptr, hl::primary_pixels());
    });
    app_expect_in_child([] {
        AppScript script;
        script.wait(State_Is(FLOW_MENU)).then([] {
            Press(hl::VK_MENU);
            Press(platform::VK_F4);
        });
        EXPECT_EQ(0, script.run(app_make_data_dir()));
        EXPECT_EQ(nullptr, hl::main_window());
    });
}

TEST(ProgramEdges, MissingClosingPictureEndsAtTheExit) {
    app_expect_in_child([] {
        AppDataSet set;
        set.pictures[int(AppPicture::Closing)] = false;
        AppScript script;
        script.wait(State_Is(FLOW_MENU));
        Choose_Exit(script);
        EXPECT_EQ(0, script.run(app_make_data_dir(set)));
        EXPECT_EQ(FLOW_EXIT, game_state);
        EXPECT_EQ(nullptr, hl::primary_pixels());
    });
}

// Without the title, menu pictures or level art the game still runs: a start, play frames, the
// way out.
TEST(ProgramEdges, MissingPicturesDoNotStopTheGame) {
    for (AppPicture missing : {AppPicture::Title, AppPicture::Menu, AppPicture::Buttons,
                               AppPicture::Blocks, AppPicture::Background}) {
        app_expect_in_child([missing] {
            AppDataSet set;
            set.pictures[int(missing)] = false;
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
            EXPECT_EQ(0, script.run(app_make_data_dir(set))) << int(missing);
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
