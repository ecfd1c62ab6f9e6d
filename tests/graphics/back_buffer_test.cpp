#include "graphics/back_buffer.h"

#include <gtest/gtest.h>

#include <cstring>

#include "platform/headless/control.h"
#include "support/graphics_fixture.h"

namespace {

namespace headless = platform::headless;
using platform::backend::Step;

class BackBufferTest : public test_support::GraphicsTest {
  protected:
    void SetUp() override {
        GraphicsTest::SetUp();
        ASSERT_EQ(DD_Init(window_), 1);
    }
};

bool Same_Entry(const PALETTEENTRY& a, const PALETTEENTRY& b) {
    return std::memcmp(&a, &b, sizeof(a)) == 0;
}

TEST_F(BackBufferTest, LockAndUnlockPairUpAndRefuseRepeats) {
    EXPECT_EQ(DD_Lock_Back_Surface(), 1);
    EXPECT_EQ(back_locked, 1);
    uint8_t* const locked = back_buffer;
    EXPECT_EQ(locked, headless::back_pixels());

    EXPECT_EQ(DD_Lock_Back_Surface(), 0);
    EXPECT_EQ(back_buffer, locked);

    EXPECT_EQ(DD_Unlock_Back_Surface(), 1);
    EXPECT_EQ(back_locked, 0);
    EXPECT_EQ(back_buffer, nullptr);
    EXPECT_EQ(DD_Unlock_Back_Surface(), 0);
    // The surface really was handed back: it can be locked again.
    EXPECT_EQ(DD_Lock_Back_Surface(), 1);
    EXPECT_NE(back_buffer, nullptr);
}

TEST_F(BackBufferTest, ARefusedLockCountsAsLockedWithNoPixels) {
    headless::fail(Step::SurfaceLock, 1);
    EXPECT_EQ(DD_Lock_Back_Surface(), 1);
    EXPECT_EQ(back_locked, 1);
    EXPECT_EQ(back_buffer, nullptr);
    EXPECT_EQ(DD_Unlock_Back_Surface(), 1);
    EXPECT_EQ(DD_Lock_Back_Surface(), 1);
    EXPECT_NE(back_buffer, nullptr);
}

TEST_F(BackBufferTest, SetPaletteChangesOnlyTheFirstCountEntriesOneCallEach) {
    PALETTEENTRY first[256];
    PALETTEENTRY second[256];
    test_support::make_test_palette(first, 10);
    test_support::make_test_palette(second, 90);

    uint64_t calls = headless::palette_set_count();
    EXPECT_EQ(Set_Palette(first, 256), 1);
    EXPECT_EQ(headless::palette_set_count(), calls + 256);

    calls = headless::palette_set_count();
    EXPECT_EQ(Set_Palette(second, 0), 1);
    EXPECT_EQ(headless::palette_set_count(), calls);
    for (int i = 0; i < 256; ++i) {
        EXPECT_TRUE(Same_Entry(shadow_palette[i], first[i]));
        EXPECT_TRUE(Same_Entry(headless::hardware_palette()[i], first[i]));
    }

    EXPECT_EQ(Set_Palette(second, 16), 1);
    EXPECT_EQ(headless::palette_set_count(), calls + 16);
    for (int i = 0; i < 256; ++i) {
        SCOPED_TRACE(i);
        const PALETTEENTRY& expected = i < 16 ? second[i] : first[i];
        EXPECT_TRUE(Same_Entry(shadow_palette[i], expected));
        EXPECT_TRUE(Same_Entry(headless::hardware_palette()[i], expected));
    }
}

TEST_F(BackBufferTest, SaveReturnsWhatWasSetAndRestoreSetsAllInOneCall) {
    PALETTEENTRY table[256];
    test_support::make_test_palette(table, 3);
    table[9].peFlags = 0;
    Set_Palette(table, 256);
    PALETTEENTRY saved[256];
    EXPECT_EQ(Save_Palette(saved), 1);
    EXPECT_EQ(std::memcmp(saved, table, sizeof(table)), 0);

    PALETTEENTRY other[256];
    test_support::make_test_palette(other, 77);
    const uint64_t calls = headless::palette_set_count();
    EXPECT_EQ(Restore_Palette(other), 1);
    EXPECT_EQ(headless::palette_set_count(), calls + 1);
    EXPECT_EQ(std::memcmp(shadow_palette, other, sizeof(other)), 0);
    const auto hardware = headless::hardware_palette();
    EXPECT_EQ(std::memcmp(hardware.data(), other, sizeof(other)), 0);
}

TEST_F(BackBufferTest, EntriesOutsideThePaletteAreRefused) {
    const PALETTEENTRY white{255, 255, 255, platform::PC_NOCOLLAPSE};
    EXPECT_EQ(Set_Palette_Entry(&white, -1), 0);
    EXPECT_EQ(Set_Palette_Entry(&white, 256), 0);
    EXPECT_EQ(Set_Palette(&white, -5), 1);
    for (const PALETTEENTRY& entry : shadow_palette) {
        EXPECT_EQ(entry.peRed, 0);
    }
}

TEST_F(BackBufferTest, AfterShutdownNothingReachesReleasedObjects) {
    ASSERT_EQ(DD_Shutdown(), 1);
    EXPECT_EQ(DD_Lock_Back_Surface(), 1);
    EXPECT_EQ(back_buffer, nullptr);
    EXPECT_EQ(DD_Unlock_Back_Surface(), 1);
    EXPECT_NE(DD_Flip(), platform::OK);
    const PALETTEENTRY grey{9, 9, 9, platform::PC_NOCOLLAPSE};
    EXPECT_EQ(Set_Palette_Entry(&grey, 4), 1);
    EXPECT_TRUE(Same_Entry(shadow_palette[4], grey));
}

}  // namespace
