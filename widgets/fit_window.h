#pragma once

#include <QList>

#include "browse/screen_fit.h"

class QWidget;

namespace kobrix {

class Desktop;

// Fits a newly created window, laid out for 800 x 600 at 96 ppi, to the desktop's screen:
// scales the window and the geometry of its absolutely placed controls, multiplies the fonts
// of its direct children, and clamps the window and every window in `existingWindows` to the
// screen. Controls inside a layout are left to the layout. Returns what was done.
FitPlan FitWindowToScreen(QWidget& window, Desktop& desktop, FitSteps steps,
                          const QList<QWidget*>& existingWindows);

}  // namespace kobrix
