// A fresh platform with a window and an empty data directory, and the sound globals of a fresh
// process.
#pragma once
#include <string>

#include "common/main_window.h"
#include "support/bmp_file.h"
#include "support/headless_fixture.h"
#include "support/voc_sound_state.h"

class SoundTest : public test_support::HeadlessTest {
  protected:
    void SetUp() override {
        HeadlessTest::SetUp();
        voc_reset_sound_state();
        dir = make_bmp_scratch_dir();
        platform::headless::set_data_dirs({dir});
        main_window = test_support::create_test_window();
    }
    // The platform's reset releases the device and every buffer.
    void TearDown() override {
        main_window = nullptr;
        voc_remove_scratch_dir(dir);
        HeadlessTest::TearDown();
    }
    std::string dir;
};
