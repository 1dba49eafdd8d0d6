#include "browse/screen_fit.h"

#include <gtest/gtest.h>

namespace kobrix {
namespace {

constexpr FitSize kWindow{780, 560};  // a window laid out for 800 x 600

TEST(ScreenFitTest, ScreenWidthsScaleTheWindowAndMultiplyFontsByWholeSteps) {
    struct Case {
        FitSize screen;
        FitSize window;
        int fontFactor;
    };
    const Case cases[] = {
        {{800, 600}, kWindow, 1},
        // 768 * 560 div 600 = 716 (716.8), 1024 * 780 div 800 = 998 (998.4).
        {{1024, 768}, {998, 716}, 1},
        {{1600, 1200}, {1560, 1120}, 2},
        {{2400, 1800}, {2340, 1680}, 3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.screen.width);
        const FitPlan plan = PlanFit(kWindow, c.screen, 96, FitSteps::All);
        EXPECT_EQ(plan.screenScaling, c.screen.width != 800);
        const FitRatio controls =
            c.screen.width == 800 ? FitRatio{} : FitRatio{c.screen.width, 800};
        EXPECT_EQ(plan.controlScale, controls);
        EXPECT_EQ(plan.final, c.window);
        EXPECT_EQ(plan.fontFactor, c.fontFactor);
        EXPECT_EQ(plan.scaleFonts, c.fontFactor != 1);
    }
    EXPECT_EQ(FontFactor({799, 600}), 0);  // back to the default size
    EXPECT_EQ(FontFactor({1599, 1200}), 1);
}

TEST(ScreenFitTest, HighPpiShrinksBeforeTheScreenStep) {
    EXPECT_TRUE(PpiScale(72).IsOne());  // never enlarged
    const FitPlan plan = PlanFit({400, 300}, {1024, 768}, 120, FitSteps::All);
    EXPECT_EQ(plan.ppiScale, (FitRatio{96, 120}));
    EXPECT_EQ(plan.afterPpi, (FitSize{320, 240}));
    // 1024 * 320 div 800 = 409 (409.6), 768 * 240 div 600 = 307 (307.2).
    EXPECT_EQ(plan.final, (FitSize{409, 307}));
    EXPECT_EQ(plan.ppiScale.Scale(361), 289);  // to the nearest pixel (288.8)
}

TEST(ScreenFitTest, StepsAWindowSkipsAndTheClamp) {
    const FitPlan noFont = PlanFit(kWindow, {1600, 1200}, 120, FitSteps::WithoutFont);
    EXPECT_FALSE(noFont.ppiScale.IsOne());
    EXPECT_TRUE(noFont.screenScaling);
    EXPECT_FALSE(noFont.scaleFonts);

    const FitPlan none = PlanFit({1900, 1000}, {1600, 1200}, 120, FitSteps::None);
    EXPECT_FALSE(none.screenScaling || none.scaleFonts || !none.ppiScale.IsOne());
    EXPECT_EQ(none.final, (FitSize{1900, 1000}));  // not even clamped

    // Too tall for 800 x 600: clamped although nothing is scaled.
    EXPECT_EQ(PlanFit({790, 640}, {800, 600}, 96, FitSteps::All).final, (FitSize{790, 600}));
    EXPECT_EQ(ClampToScreen({1200, 500}, {1024, 768}), (FitSize{1024, 500}));
}

TEST(ScreenFitTest, WideScreensScaleControlsByHeightSoTheyStayInTheWindow) {
    // By width, 1920 / 800 = 2.4 would put the bottom of a 560 high layout at 1344, below
    // the window's new height of 1080 * 560 div 600 = 1008.
    const FitPlan plan = PlanFit(kWindow, {1920, 1080}, 96, FitSteps::All);
    EXPECT_EQ(plan.controlScale, (FitRatio{1080, 600}));
    EXPECT_EQ(plan.final, (FitSize{1872, 1008}));
    EXPECT_LE(plan.controlScale.Scale(kWindow.height), plan.final.height);
    EXPECT_EQ(plan.fontFactor, 1);  // text grows no faster than its control
    EXPECT_EQ(FontFactor({1600, 900}), 1);

    EXPECT_TRUE(NeedsScreenScaling({800, 480}));  // 800 wide but too low
    EXPECT_FALSE(NeedsScreenScaling({800, 1024}));
}

}  // namespace
}  // namespace kobrix
