#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "platform/common/files_internal.h"
#include "platform/files.h"
#include "support/headless_fixture.h"

namespace {

namespace fs = std::filesystem;

// What the game reads when it opens the file by its bare name.
std::string read(const char* name) {
    std::FILE* file = platform::open_data_file(name, "rb");
    if (file == nullptr) {
        return "<none>";
    }
    char text[64] = {};
    size_t got = std::fread(text, 1, sizeof(text) - 1, file);
    std::fclose(file);
    return std::string(text, got);
}

using Files = test_support::HeadlessTest;

// By default: the current directory, beside the program, then installed beside it.
TEST_F(Files, TheFirstDirectoryHoldingAFileWins) {
    const std::string beside = fs::canonical("/proc/self/exe").parent_path().string();
    EXPECT_EQ(platform::common::default_search_dirs(),
              std::vector<std::string>({"", beside, beside + "/../share/games/cellstorm"}));
    fs::path root = fs::temp_directory_path() / ("cellstorm-files-" + std::to_string(getpid()));
    fs::create_directories(root / "current" / "D.BMP");  // a directory is passed over
    fs::create_directories(root / "beside");
    std::ofstream(root / "current" / "A.VOC") << "current";
    std::ofstream(root / "beside" / "A.VOC") << "beside";
    std::ofstream(root / "beside" / "B.VOC") << "only beside";
    std::ofstream(root / "beside" / "D.BMP") << "file";
    fs::path previous = fs::current_path();
    fs::current_path(root / "current");
    platform::headless::set_data_dirs({"", (root / "beside").string()});
    EXPECT_EQ(read("A.VOC"), "current");
    EXPECT_EQ(read("B.VOC"), "only beside");
    EXPECT_EQ(read("D.BMP"), "file");
    EXPECT_EQ(read("C.VOC"), "<none>");
    EXPECT_EQ(read(""), "<none>");
    fs::current_path(previous);
    fs::remove_all(root);
}

}  // namespace
