// The desktop game's command line and settings file. That a bad option ends the real game with
// 2 before any window is checked on the executable (options.sh).
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "platform/sdl2/options.h"
#include "platform/sdl2/settings.h"

using namespace platform::sdl2;

namespace {

ParseResult parse(std::vector<const char*> args, Options* options, std::string* error) {
    args.insert(args.begin(), "cellstorm");
    return parse_options(int(args.size()), args.data(), options, error);
}

TEST(Options, EveryOptionAndEveryMistake) {
    Options o;
    std::string error;
    ASSERT_EQ(parse({"--window", "--scale", "integer", "--no-sound", "--data", "/d",
                     "--config=c.ini", "--verbose"},
                    &o, &error),
              ParseResult::Run);
    EXPECT_TRUE(o.window_given && !o.fullscreen && o.scale_given && o.no_sound && o.verbose);
    EXPECT_EQ(o.scale, ScaleMode::Integer);
    EXPECT_EQ(o.data_dir, "/d");
    EXPECT_EQ(o.config_file, "c.ini");
    ASSERT_EQ(parse({"--window", "--fullscreen", "--scale=fit"}, &o, &error), ParseResult::Run);
    EXPECT_TRUE(o.window_given && o.fullscreen && o.scale == ScaleMode::Fit);
    ASSERT_EQ(parse({}, &o, &error), ParseResult::Run);
    EXPECT_FALSE(o.window_given || o.scale_given || o.no_sound || o.verbose);
    EXPECT_EQ(parse({"--version"}, &o, &error), ParseResult::Version);
    EXPECT_EQ(parse({"--version", "--help"}, &o, &error), ParseResult::Help);
    const struct {
        std::vector<const char*> args;
        const char* named;
    } bad[] = {{{"--frobnicate"}, "'--frobnicate'"},
               {{"--window", "-w"}, "'-w'"},
               {{"window"}, "'window'"},
               {{"--scale", "stretch"}, "'stretch'"},
               {{"--scale"}, "'--scale' needs a value"},
               {{"--data="}, "'--data'"},
               {{"--no-sound=yes"}, "'--no-sound=yes' takes no value"},
               {{"--help", "--bogus"}, "'--bogus'"}};
    for (const auto& b : bad) {
        EXPECT_EQ(parse(b.args, &o, &error), ParseResult::Bad) << b.named;
        EXPECT_NE(error.find(b.named), std::string::npos) << error;
        EXPECT_EQ(error.find('\n'), std::string::npos) << "one line";
    }
}

class SettingsFile : public ::testing::Test {
  protected:
    void SetUp() override {
        char pattern[] = "/tmp/cellstorm-settings-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        dir = pattern;
        path = dir + "/sub/cellstorm.ini";
    }
    void TearDown() override { std::system(("rm -rf '" + dir + "'").c_str()); }

    std::string dir;
    std::string path;
};

// A missing file gives the defaults; what is saved reads back the same, every setting; the
// file is whole after a save and no temporary file stays beside it.
TEST_F(SettingsFile, SavedSettingsReadBackTheSame) {
    Settings settings = default_settings();
    std::vector<std::string> warnings;
    ASSERT_TRUE(load_settings(path, &settings, &warnings));
    EXPECT_TRUE(warnings.empty());
    settings.fullscreen = false;
    settings.scale = ScaleMode::Integer;
    settings.window_width = 1280;
    settings.window_height = 960;
    settings.keys[8] = {"D", "Keypad 6"};
    settings.keys[0] = {};
    settings.pad_buttons[2] = {"x", "y"};
    std::string reason;
    ASSERT_TRUE(prepare_settings_folder(path, &reason)) << reason;
    ASSERT_TRUE(save_settings(path, settings, &reason)) << reason;
    EXPECT_EQ(access((path + ".new").c_str(), F_OK), -1);
    Settings again = default_settings();
    ASSERT_TRUE(load_settings(path, &again, &warnings));
    EXPECT_TRUE(warnings.empty()) << warnings.front();
    EXPECT_EQ(settings_text(again), settings_text(settings));
    EXPECT_FALSE(again.fullscreen);
    EXPECT_EQ(again.keys[8], (std::vector<std::string>{"D", "Keypad 6"}));
    EXPECT_TRUE(again.keys[0].empty());
}

// Each bad line is named with its line number and leaves its default; the good lines around
// it still count; the file is reported as not to be overwritten.
TEST_F(SettingsFile, BadLinesAreNamedAndLeaveTheirDefaults) {
    std::string reason;
    ASSERT_TRUE(prepare_settings_folder(path, &reason)) << reason;
    std::ofstream(path)
        << ("[display]\n"                       // 1
            "fullscreen = no\n"                 // 2
            "scale = stretched\n"               // 3
            "window_width = 99\n"               // 4
            "colour = blue\n"                   // 5
            "[keys]\n"                          // 6
            "turn_clockwise = D\n"              // 7
            "pause = NoSuchKey\n"               // 8
            "[gamepad]\n"                       // 9
            "button1 = z\n"                     // 10
            "[sound]\n"                         // 11
            "volume = 3\n"                      // 12
            "this line has no equals sign\n");  // 13
    Settings settings = default_settings();
    std::vector<std::string> warnings;
    EXPECT_FALSE(load_settings(path, &settings, &warnings));
    const char* expected[] = {"line 3: scale",
                              "line 4: window_width",
                              "line 5: unknown setting",
                              "line 8: no key is named 'NoSuchKey'",
                              "line 10: no gamepad button",
                              "line 12: unknown section [sound]",
                              "line 13: not a setting"};
    ASSERT_EQ(warnings.size(), std::size(expected));
    for (size_t i = 0; i < warnings.size(); ++i) {
        EXPECT_NE(warnings[i].find(expected[i]), std::string::npos) << warnings[i];
        EXPECT_EQ(warnings[i].find(path), 0u) << warnings[i];
    }
    EXPECT_FALSE(settings.fullscreen);
    EXPECT_EQ(settings.scale, ScaleMode::Fit);
    EXPECT_EQ(settings.window_width, 0);
    EXPECT_EQ(settings.keys[8], std::vector<std::string>{"D"});
    EXPECT_EQ(settings.keys[9], std::vector<std::string>{"P"});
    EXPECT_EQ(settings.pad_buttons[0], std::vector<std::string>{"b"});
}

// A folder that cannot be made (a file stands in its way) is reported, and nothing is saved;
// the file is looked for under XDG_CONFIG_HOME, or else under HOME.
TEST_F(SettingsFile, AFolderThatCannotBeMadeIsReportedAndThePathFollowsXdg) {
    std::ofstream(dir + "/blocked") << "a file, not a folder";
    setenv("XDG_CONFIG_HOME", (dir + "/blocked").c_str(), 1);
    path = default_settings_path();
    EXPECT_EQ(path, dir + "/blocked/cellstorm/cellstorm.ini");
    std::string reason;
    EXPECT_FALSE(prepare_settings_folder(path, &reason));
    EXPECT_NE(reason.find(dir + "/blocked/cellstorm"), std::string::npos) << reason;
    EXPECT_FALSE(save_settings(path, default_settings(), &reason));
    Settings settings = default_settings();
    std::vector<std::string> warnings;
    EXPECT_TRUE(load_settings(path, &settings, &warnings)) << "missing: the defaults";
    setenv("XDG_CONFIG_HOME", "", 1);
    setenv("HOME", "/home/p", 1);
    EXPECT_EQ(default_settings_path(), "/home/p/.config/cellstorm/cellstorm.ini");
    unsetenv("XDG_CONFIG_HOME");
}

}  // namespace
