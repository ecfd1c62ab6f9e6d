#include "sounds.h"

std::vector<Sound> make_sounds() {
    return {
        {"XSMNUUP.VOC", make_menu_up()},        {"XSMNUDWN.VOC", make_menu_down()},
        {"XSMNUSEL.VOC", make_menu_select()},   {"XSINTRO.VOC", make_menu_theme()},
        {"XSLINE.VOC", make_line_clear()},      {"XSLOCK.VOC", make_lock_thud()},
        {"XSNEXTL.VOC", make_level_up()},       {"XSLOSER.VOC", make_game_over()},
        {"XSSONG1.VOC", make_game_theme()},     {"XSVOICE1.VOC", make_voice()},
        {"CSTRAIL.VOC", make_closing_jingle()}, {"CSSPL.VOC", make_title_jingle()},
    };
}
