#include "ui/LayoutRules.h"

#include <gtest/gtest.h>

namespace {
void ExpectRect(const PixelRect& rect, int x, int y, int width, int height) {
    EXPECT_EQ(rect.x, x);
    EXPECT_EQ(rect.y, y);
    EXPECT_EQ(rect.width, width);
    EXPECT_EQ(rect.height, height);
}
} // namespace

TEST(LayoutRules, FixedPixelLayout) {
    const WindowLayout layout = ComputeLayout(14, 120, 30, 40);
    EXPECT_EQ(layout.windowWidth, 700);
    EXPECT_EQ(layout.windowHeight, 486);
    ExpectRect(layout.picture, 0, 0, 700, 314);
    ExpectRect(layout.progress, 0, 314, 700, 5);
    ExpectRect(layout.title, 30, 343, 500, 14);
    ExpectRect(layout.description, 30, 357, 500, 28);
    ExpectRect(layout.helpLink, 30, 427, 120, 18);
    ExpectRect(layout.close, 310, 415, 80, 30);
    ExpectRect(layout.retry, 620, 415, 60, 30); // right edge at 680
}

TEST(LayoutRules, CloseButtonGrowsWithItsText) {
    EXPECT_EQ(CloseButtonWidth(0), 80);
    EXPECT_EQ(CloseButtonWidth(79), 80);
    EXPECT_EQ(CloseButtonWidth(80), 100);
    EXPECT_EQ(ComputeLayout(14, 0, 79, 0).close.x, 310);
    EXPECT_EQ(ComputeLayout(14, 0, 80, 0).close.x, 300);
    EXPECT_EQ(ComputeLayout(14, 0, 81, 0).close.x, 299); // (700 - 101) / 2 rounds toward zero
}

TEST(LayoutRules, DialogFontHeightIsCappedAtThirteen) {
    EXPECT_EQ(DialogFontHeight(-12), -12);
    EXPECT_EQ(DialogFontHeight(-14), -14);
    EXPECT_EQ(DialogFontHeight(-15), -13);
    EXPECT_EQ(DialogFontHeight(-16), -13);
    EXPECT_EQ(DialogFontHeight(15), 13);
    EXPECT_EQ(DialogFontHeight(0), 0);
}
