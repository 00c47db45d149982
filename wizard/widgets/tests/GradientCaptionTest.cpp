// The gradient caption's layout: coverage, strip width, colour ramp and the text colour rule.
#include <gtest/gtest.h>

#include <vector>

#include "GradientCaption.h"

namespace {

// The colour of every column, checking that each is filled exactly once.
std::vector<CaptionFill> Columns(int width, int r, int g, int b) {
    std::vector<CaptionFill> cols(static_cast<size_t>(width), CaptionFill{-1, -1, -1, -1, -1});
    for (const CaptionFill& f : PlanGradientCaption(width, r, g, b)) {
        EXPECT_LE(0, f.x0);
        EXPECT_LT(f.x0, f.x1);
        EXPECT_LE(f.x1, width);
        for (int x = f.x0; x < f.x1; ++x) {
            EXPECT_EQ(cols[static_cast<size_t>(x)].x0, -1) << "column " << x << " filled twice";
            cols[static_cast<size_t>(x)] = f;
        }
    }
    for (int x = 0; x < width; ++x) EXPECT_NE(cols[static_cast<size_t>(x)].x0, -1) << "column " << x << " unfilled";
    return cols;
}

}  // namespace

TEST(GradientCaption, NarrowCaptionUsesOnePixelStrips) {
    // 70 pixels: five sixths is 58, below 64, so the strip width is 1 (not 0).
    const int r = 200, g = 100, b = 40, w1 = 58;
    auto cols = Columns(70, r, g, b);
    for (int x = w1; x < 70; ++x) EXPECT_EQ(cols[x].r + cols[x].g + cols[x].b, 0) << x;
    EXPECT_EQ(cols[0].r, r);
    EXPECT_EQ(cols[0].g, g);
    for (int x = 1; x < w1; ++x) {
        EXPECT_EQ(cols[x].x1 - cols[x].x0, 1) << x;
        EXPECT_EQ(cols[x].r, (w1 - x) * r / w1) << x;
        EXPECT_EQ(cols[x].g, (w1 - x) * g / w1) << x;
        EXPECT_EQ(cols[x].b, (w1 - x) * b / w1) << x;
    }
    // From 77 pixels on, five sixths reach 64 and the division itself gives 1.
    auto wide = PlanGradientCaption(77, r, g, b);
    for (size_t i = 1; i + 1 < wide.size(); ++i) EXPECT_EQ(wide[i].x1 - wide[i].x0, 1);
}

TEST(GradientCaption, WideCaptionRampsFromBlackToTheBaseColour) {
    const int width = 600, w1 = 500, s = 500 / 64;  // 7-pixel strips
    auto plan = PlanGradientCaption(width, 120, 160, 240);
    ASSERT_GE(plan.size(), 3u);
    EXPECT_EQ(plan.front().x0, w1);
    EXPECT_EQ(plan.front().x1, width);
    for (size_t i = 1; i + 1 < plan.size(); ++i) {
        EXPECT_EQ(plan[i].x1 - plan[i].x0, s);
        EXPECT_EQ(plan[i].x1, w1 - static_cast<int>(i - 1) * s);
        const int k = static_cast<int>(i) * s;
        EXPECT_EQ(plan[i].b, k * 240 / w1);
        EXPECT_GE(plan[i].b, plan[i - 1].b);
    }
    EXPECT_EQ(plan.back().x0, 0);
    EXPECT_EQ(plan.back().b, 240);
    Columns(width, 120, 160, 240);
}

TEST(GradientCaption, BlackBaseIsBlackEverywhere) {
    for (const CaptionFill& f : PlanGradientCaption(400, 0, 0, 0)) EXPECT_EQ(f.r + f.g + f.b, 0);
}

TEST(GradientCaption, TinyAndEmptyCaptions) {
    EXPECT_TRUE(PlanGradientCaption(0, 1, 2, 3).empty());
    Columns(1, 10, 20, 30);
    Columns(2, 10, 20, 30);
    Columns(7, 10, 20, 30);
}

TEST(GradientCaption, LightnessAndTextColour) {
    EXPECT_EQ(CaptionLightness(0, 0, 0), 0);
    EXPECT_EQ(CaptionLightness(255, 255, 255), 240);
    EXPECT_EQ(CaptionLightness(255, 0, 0), 120);
    EXPECT_TRUE(CaptionTextIsWhite(0, 0, 0));
    EXPECT_FALSE(CaptionTextIsWhite(191, 205, 219));  // a light inactive caption
    // The threshold: lightness 100 is dark, 101 light. (hi+lo)=212 gives (50880+255)/510 = 100.
    EXPECT_EQ(CaptionLightness(106, 106, 106), 100);
    EXPECT_TRUE(CaptionTextIsWhite(106, 106, 106));
    EXPECT_EQ(CaptionLightness(107, 107, 107), 101);
    EXPECT_FALSE(CaptionTextIsWhite(107, 107, 107));
}
