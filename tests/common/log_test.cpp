#include <gtest/gtest.h>

#include <cstdlib>

#include "graphics/log.h"

namespace {

// What the log writes once asked is pinned by the replay tool's test, and its silence when not
// asked by every recorded session's stderr.
TEST(Log, UnaskedStaysClosedAndDropsEveryWrite) {
    unsetenv("CELLSTORM_LOG");
    EXPECT_EQ(Log_Open(), 0);
    EXPECT_EQ(Log_Write("\nERROR: Load_Bitmap_File:couldn't find file X.BMP"), 0);
    EXPECT_EQ(Log_Write(""), 0);
    EXPECT_EQ(Log_Close(), 0);
    EXPECT_EQ(Log_Close(), 0);
    EXPECT_EQ(log_handle, -1);
}

}  // namespace
