// The asset maker writes the same bytes on every run (builds are reproducible), exactly the
// game's files, and fails when it cannot write them.
#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <iterator>
#include <string>

#include "asset_reader.h"

TEST(AssetMaker, WritesTheSameBytesAgainAndFailsWhenItCannotWrite) {
    namespace fs = std::filesystem;
    const fs::path dir =
        fs::temp_directory_path() / ("cellstorm_assets_" + std::to_string(::getpid()));
    fs::create_directories(dir);
    auto make = [](const std::string& into) {
        return std::system(("\"" + std::string(ASSET_MAKER) + "\" \"" + into + "\" \"" + FONT_DIR +
                            "\" 2>/dev/null")
                               .c_str());
    };
    ASSERT_EQ(make(dir.string()), 0);
    const char* const files[] = {"CSSPL8.BMP",   "lv1BLK8.BMP",  "lv1DS8.BMP",  "CSCON8.BMP",
                                 "XCNBUT8.BMP",  "CSTRAIL8.BMP", "XSMNUUP.VOC", "XSMNUDWN.VOC",
                                 "XSMNUSEL.VOC", "XSINTRO.VOC",  "XSLINE.VOC",  "XSLOCK.VOC",
                                 "XSNEXTL.VOC",  "XSLOSER.VOC",  "XSSONG1.VOC", "XSVOICE1.VOC",
                                 "CSTRAIL.VOC",  "CSSPL.VOC",    "CSICON.BMP"};
    for (const char* name : files)
        EXPECT_EQ(read_bytes((dir / name).string()), read_bytes(data_path(name))) << name;
    EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()),
              std::ptrdiff_t(std::size(files)));
    fs::remove_all(dir);
    EXPECT_NE(make("/nonexistent/cellstorm"), 0);
}
