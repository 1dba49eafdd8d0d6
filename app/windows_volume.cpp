// The windows of an archive volume, tied to the main window.
#include <QAction>

#include "app/label_window.h"
#include "app/main_menu.h"
#include "app/main_window.h"
#include "app/windows.h"

namespace kobrix {

void Windows::ConnectVolume() {
    MainWindow& main = *main_;
    QObject::connect(main.Menu().Item("Archive Label"), &QAction::triggered, &main, [this, &main] {
        main.Drive([this, &main] {
            const QString selected = main.SelectedPath();
            label_->Open(selected.isEmpty() ? main.DisplayedPath() : selected);
        });
    });
}

}  // namespace kobrix
