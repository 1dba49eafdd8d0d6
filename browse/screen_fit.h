#pragma once

#include <cstdint>

namespace kobrix {

// Windows are laid out for an 800 x 600 screen at 96 pixels per inch and fitted to the real
// screen when they are created, in four steps: undo large-font scaling (96/ppi), scale to the
// screen, multiply the fonts of the direct children, clamp every window to the screen.

inline constexpr int kDesignScreenWidth = 800;
inline constexpr int kDesignScreenHeight = 600;
inline constexpr int kDesignPixelsPerInch = 96;

// Which steps a window runs.
enum class FitSteps {
    All,
    WithoutFont,  // the pages whose text is laid out to the pixel
    None,
};

struct FitSize {
    int width = 0;
    int height = 0;
    bool operator==(const FitSize&) const = default;
};

// An exact scale factor num/den. Lengths are scaled to the nearest pixel, halves away from
// zero; positions should be scaled as edges (ScaleEdge) so that neighbours stay neighbours.
struct FitRatio {
    int num = 1;
    int den = 1;

    bool IsOne() const { return num == den; }
    double Value() const { return static_cast<double>(num) / den; }
    int Scale(int length) const;
    bool operator==(const FitRatio&) const = default;
};

// Step 1: 96/ppi when the screen has more than 96 pixels per inch, else 1.
FitRatio PpiScale(int pixelsPerInch);

// Step 2, the controls: screen width / 800, unless the screen is relatively lower than
// 800 x 600, when it is screen height / 600. Scaling by the width alone would push the lower
// controls of every window out of it on a wide screen (1920 x 1080).
FitRatio ControlScale(FitSize screen);

// Whether step 2 runs: the screen is not 800 wide, or not tall enough for the layout.
bool NeedsScreenScaling(FitSize screen);

// Step 2, the window: height = screen height x height div 600, width = screen width x width
// div 800 (multiplication first).
FitSize ScreenScaledSize(FitSize window, FitSize screen);

// Step 3: screen width div 800 (1 for 800 to 1599, 2 for 1600 to 2399), limited in the same
// way as ControlScale so that text never outgrows its control. 0 below 800 means "set the
// font to the system's default size"; 1 leaves the fonts alone.
int FontFactor(FitSize screen);

// Step 4.
FitSize ClampToScreen(FitSize window, FitSize screen);

// All steps for one window: what to do to it, in order.
struct FitPlan {
    FitRatio ppiScale;  // step 1, applied to the window and all its controls
    FitSize afterPpi;   // the window's size after step 1
    bool screenScaling = false;
    FitRatio controlScale;    // step 2, applied to the controls
    FitSize afterScreen;      // the window's size after step 2
    bool scaleFonts = false;  // step 3 runs (FontFactor != 1)
    int fontFactor = 1;
    FitSize final;  // after the clamp of step 4
};

FitPlan PlanFit(FitSize window, FitSize screen, int pixelsPerInch, FitSteps steps);

}  // namespace kobrix
