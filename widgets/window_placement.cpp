#include "widgets/window_placement.h"

#include <QShowEvent>
#include <QWidget>

#include "platform/desktop.h"

namespace kobrix {

void CentreOnFirstShow(QWidget& window, Desktop& desktop, const QShowEvent& event, bool& centred) {
    if (centred || event.spontaneous()) return;
    centred = true;
    const QSize screen = desktop.ScreenSize();
    window.move(qMax(0, (screen.width() - window.frameGeometry().width()) / 2),
                qMax(0, (screen.height() - window.frameGeometry().height()) / 2));
}

}  // namespace kobrix
