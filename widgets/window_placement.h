#pragma once

class QShowEvent;
class QWidget;

namespace kobrix {

class Desktop;

// Centres a window on the desktop the first time the program shows it; afterwards it stays
// where the user put it. `centred` is the window's own flag.
void CentreOnFirstShow(QWidget& window, Desktop& desktop, const QShowEvent& event, bool& centred);

}  // namespace kobrix
