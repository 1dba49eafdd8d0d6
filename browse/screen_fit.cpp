#include "browse/screen_fit.h"

#include <algorithm>

namespace kobrix {
namespace {

// a * b / c in 64 bits, to the nearest integer with halves away from zero.
int MulDivRound(int a, int b, int c) {
    const std::int64_t product = static_cast<std::int64_t>(a) * b;
    const std::int64_t half = c / 2;
    const std::int64_t q = product >= 0 ? (product + half) / c : (product - half) / c;
    return static_cast<int>(q);
}

// a * b div c in 64 bits, truncated as integer division is.
int MulDiv(int a, int b, int c) {
    return static_cast<int>(static_cast<std::int64_t>(a) * b / c);
}

// True when the screen is relatively lower than the design screen (wider than 4:3).
bool HeightLimited(FitSize screen) {
    return static_cast<std::int64_t>(screen.height) * kDesignScreenWidth <
           static_cast<std::int64_t>(screen.width) * kDesignScreenHeight;
}

}  // namespace

int FitRatio::Scale(int length) const {
    return den == 0 ? length : MulDivRound(length, num, den);
}

FitRatio PpiScale(int pixelsPerInch) {
    if (pixelsPerInch > kDesignPixelsPerInch) return {kDesignPixelsPerInch, pixelsPerInch};
    return {};
}

FitRatio ControlScale(FitSize screen) {
    if (screen.width <= 0 || screen.height <= 0) return {};
    if (HeightLimited(screen)) return {screen.height, kDesignScreenHeight};
    return {screen.width, kDesignScreenWidth};
}

bool NeedsScreenScaling(FitSize screen) {
    if (screen.width <= 0 || screen.height <= 0) return false;
    return screen.width != kDesignScreenWidth || !ControlScale(screen).IsOne();
}

FitSize ScreenScaledSize(FitSize window, FitSize screen) {
    return {MulDiv(screen.width, window.width, kDesignScreenWidth),
            MulDiv(screen.height, window.height, kDesignScreenHeight)};
}

int FontFactor(FitSize screen) {
    if (screen.width <= 0 || screen.height <= 0) return 1;
    const int byWidth = screen.width / kDesignScreenWidth;
    if (byWidth == 0) return 0;  // a small screen: fonts go back to the default size
    return std::max(1, std::min(byWidth, screen.height / kDesignScreenHeight));
}

FitSize ClampToScreen(FitSize window, FitSize screen) {
    return {std::min(window.width, screen.width), std::min(window.height, screen.height)};
}

FitPlan PlanFit(FitSize window, FitSize screen, int pixelsPerInch, FitSteps steps) {
    FitPlan plan;
    plan.afterPpi = plan.afterScreen = plan.final = window;
    if (steps == FitSteps::None) return plan;

    plan.ppiScale = PpiScale(pixelsPerInch);
    plan.afterPpi = {plan.ppiScale.Scale(window.width), plan.ppiScale.Scale(window.height)};

    plan.afterScreen = plan.afterPpi;
    plan.screenScaling = NeedsScreenScaling(screen);
    if (plan.screenScaling) {
        plan.controlScale = ControlScale(screen);
        plan.afterScreen = ScreenScaledSize(plan.afterPpi, screen);
    }

    if (steps == FitSteps::All) {
        plan.fontFactor = FontFactor(screen);
        plan.scaleFonts = plan.fontFactor != 1;
    }

    plan.final = ClampToScreen(plan.afterScreen, screen);
    return plan;
}

}  // namespace kobrix
