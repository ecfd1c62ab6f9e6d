// Every sound of the game, by file name, as 8-bit unsigned mono samples at 11,025 Hz.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct Sound {
    std::string name;
    std::vector<uint8_t> samples;
};

std::vector<Sound> make_sounds();

// Looping tunes (music.cpp).
std::vector<uint8_t> make_menu_theme();
std::vector<uint8_t> make_game_theme();
// Effects and jingles (effects.cpp).
std::vector<uint8_t> make_menu_up();
std::vector<uint8_t> make_menu_down();
std::vector<uint8_t> make_menu_select();
std::vector<uint8_t> make_line_clear();
std::vector<uint8_t> make_lock_thud();
std::vector<uint8_t> make_level_up();
std::vector<uint8_t> make_game_over();
std::vector<uint8_t> make_title_jingle();
std::vector<uint8_t> make_closing_jingle();
// The spoken exclamation (voice.cpp).
std::vector<uint8_t> make_voice();
