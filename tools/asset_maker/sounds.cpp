#include "sounds.h"

#include <utility>

#include "loudness.h"

std::vector<Sound> make_sounds() {
    const std::pair<const char*, Buffer (*)()> makers[] = {
        {"XSMNUUP.VOC", make_menu_up},        {"XSMNUDWN.VOC", make_menu_down},
        {"XSMNUSEL.VOC", make_menu_select},   {"XSINTRO.VOC", make_menu_theme},
        {"XSLINE.VOC", make_line_clear},      {"XSLOCK.VOC", make_lock_thud},
        {"XSNEXTL.VOC", make_level_up},       {"XSLOSER.VOC", make_game_over},
        {"XSSONG1.VOC", make_game_theme},     {"XSVOICE1.VOC", make_voice},
        {"CSTRAIL.VOC", make_closing_jingle}, {"CSSPL.VOC", make_title_jingle},
    };
    std::vector<Sound> sounds;
    for (const auto& [name, make] : makers)
        sounds.push_back({name, to_planned_level(make(), loudness_target(name))});
    return sounds;
}
