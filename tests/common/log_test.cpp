#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>

#include "graphics/log.h"

namespace {

TEST(Log, UnaskedStaysClosedDropsEveryWriteAndWritesNoFile) {
    unsetenv("CELLSTORM_LOG");
    namespace fs = std::filesystem;
    fs::path dir = fs::temp_directory_path() / ("cellstorm-log-" + std::to_string(getpid()));
    fs::create_directories(dir);
    fs::path previous = fs::current_path();
    fs::current_path(dir);
    EXPECT_EQ(Log_Open(), 0);
    EXPECT_EQ(Log_Write("\nERROR: Load_Bitmap_File:couldn't find file X.BMP"), 0);
    EXPECT_EQ(Log_Write(""), 0);
    EXPECT_EQ(Log_Close(), 0);
    EXPECT_EQ(Log_Close(), 0);
    EXPECT_EQ(log_handle, -1);
    EXPECT_TRUE(fs::is_empty(dir));
    fs::current_path(previous);
    fs::remove_all(dir);
}

}  // namespace
