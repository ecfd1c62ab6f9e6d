// Every sound of the game, by file name, as 8-bit unsigned mono samples at 11,025 Hz, each at
// the level the loudness plan gives it (loudness.h). The makers below return them unlevelled.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "synth.h"

struct Sound {
    std::string name;
    std::vector<uint8_t> samples;
};

std::vector<Sound> make_sounds();

// Looping tunes (music.cpp).
Buffer make_menu_theme();
Buffer make_game_theme();
// Effects and jingles (effects.cpp).
Buffer make_menu_up();
Buffer make_menu_down();
Buffer make_menu_select();
Buffer make_line_clear();
Buffer make_lock_thud();
Buffer make_level_up();
Buffer make_game_over();
Buffer make_title_jingle();
Buffer make_closing_jingle();
// The spoken exclamation (voice.cpp).
Buffer make_voice();
