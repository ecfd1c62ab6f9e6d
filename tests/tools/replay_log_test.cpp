// What the replay tool says on stderr about unreadable data files, with and without the log.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "replay_run.h"

namespace {

namespace fs = std::filesystem;

// The game's data files in a directory of their own, without the one named.
std::string data_without(const ReplayScratch& scratch, const std::string& missing) {
    const std::string dir = scratch.path("data");
    fs::create_directory(dir);
    for (const fs::directory_entry& entry : fs::directory_iterator(CELLSTORM_BIN_DIR)) {
        const std::string name = entry.path().filename().string();
        const std::string ext = entry.path().extension().string();
        if (name != missing && (ext == ".BMP" || ext == ".VOC" || ext == ".xpf" || ext == ".ttf")) {
            fs::copy_file(entry.path(), dir + "/" + name);
        }
    }
    return dir;
}

// Starts, leaves by the menu's exit item and the closing screen.
ReplayResult run_to_exit(const ReplayScratch& scratch, const std::string& data, bool log) {
    std::ofstream(scratch.path("script.txt")) << "-\n6*down\nenter\n";
    if (log) {
        setenv("CELLSTORM_LOG", "stderr", 1);
    } else {
        unsetenv("CELLSTORM_LOG");
    }
    ReplayResult run = run_replay_raw(
        scratch, {"--data", data, "--seed", "3", "--input", scratch.path("script.txt")});
    unsetenv("CELLSTORM_LOG");
    return run;
}

TEST(ReplayLog, UnreadableFilesAreNamedAlwaysAndTheLogOnlyOnRequest) {
    ReplayScratch scratch;
    const std::string data = data_without(scratch, "CSSPL8.BMP");

    ReplayResult quiet = run_to_exit(scratch, data, false);
    ASSERT_EQ(quiet.exit_code, 0) << quiet.errors;
    EXPECT_EQ(quiet.errors, "cellstorm: data file CSSPL8.BMP cannot be opened\n");

    // A damaged sound is named too; with the log, its messages come one per line and the
    // menu's message of every frame once with its count.
    std::ofstream(data + "/XSLOCK.VOC", std::ios::trunc) << "not a sound";
    ReplayResult logged = run_to_exit(scratch, data, true);
    ASSERT_EQ(logged.exit_code, 0) << logged.errors;
    for (const char* line :
         {"\ncellstorm: data file CSSPL8.BMP cannot be opened\n",
          "cellstorm: data file XSLOCK.VOC is refused: damaged, or not an 8-bit VOC\n",
          "\ncellstorm: ERROR: Load_Bitmap_File:couldn't find file CSSPL8.BMP\n",
          "\ncellstorm: filename:lv1DS8.BMP size=307200 width=640 height=480 bitsperpixel=8 ",
          "\ncellstorm: game menu\ncellstorm: (the line above ", "\ncellstorm: in exit state\n"}) {
        EXPECT_NE(logged.errors.find(line), std::string::npos) << line << "\n" << logged.errors;
    }
}

}  // namespace
