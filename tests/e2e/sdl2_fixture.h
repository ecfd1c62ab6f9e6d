// The SDL2 backend under SDL's own test drivers: an offscreen window drawn by the software
// renderer (its pixels can be read back) and a dummy or disk audio device.
#pragma once
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "support/headless_fixture.h"

namespace sdl2_test {

// The messages the window procedure was given, WM_QUIT added when the loop takes it.
struct Seen {
    uint32_t message;
    uintptr_t wparam;
    intptr_t lparam;
};
const std::vector<Seen>& seen_messages();

// The game's window, its procedure recording what it is given.
class Sdl2Window : public ::testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;
    // Takes and dispatches every waiting message (the game's loop minus Game_Main).
    void drain_messages();

    platform::WindowHandle window = nullptr;
};

}  // namespace sdl2_test
