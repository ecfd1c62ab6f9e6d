// The asset maker writes the same bytes on every run: builds are reproducible.
#include <gtest/gtest.h>

#include <unistd.h>
#include <cstdlib>
#include <filesystem>
#include <iterator>
#include <string>

#include "asset_reader.h"

namespace {

const char* const FILES[] = {
    "CSSPL8.BMP",  "lv1BLK8.BMP",  "lv1DS8.BMP",   "CSCON8.BMP",   "XCNBUT8.BMP", "CSTRAIL8.BMP",
    "XSMNUUP.VOC", "XSMNUDWN.VOC", "XSMNUSEL.VOC", "XSINTRO.VOC",  "XSLINE.VOC",  "XSLOCK.VOC",
    "XSNEXTL.VOC", "XSLOSER.VOC",  "XSSONG1.VOC",  "XSVOICE1.VOC", "CSTRAIL.VOC", "CSSPL.VOC"};

TEST(AssetMaker, WritesTheSameBytesAgain) {
    namespace fs = std::filesystem;
    const fs::path dir =
        fs::temp_directory_path() / ("cellstorm_assets_" + std::to_string(::getpid()));
    fs::create_directories(dir);
    const std::string command =
        std::string("\"") + ASSET_MAKER + "\" \"" + dir.string() + "\" \"" + FONT_DIR + "\"";
    ASSERT_EQ(std::system(command.c_str()), 0);
    for (const char* name : FILES) {
        EXPECT_EQ(read_bytes((dir / name).string()), read_bytes(data_path(name))) << name;
    }
    // Exactly these files, nothing else.
    EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()),
              std::ptrdiff_t(std::size(FILES)));
    fs::remove_all(dir);
}

TEST(AssetMaker, FailsWhenItCannotWrite) {
    const std::string command = std::string("\"") + ASSET_MAKER + "\" /nonexistent/cellstorm \"" +
                                FONT_DIR + "\" 2>/dev/null";
    EXPECT_NE(std::system(command.c_str()), 0);
}

}  // namespace
