// The windows of an archive volume, tied to the main window.
#include <QAction>
#include <QDir>
#include <QListWidget>
#include <QShortcut>
#include <algorithm>

#include "app/label_window.h"
#include "app/main_menu.h"
#include "app/main_window.h"
#include "app/thumbnail_sheet_window.h"
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

    // The sheet of the file list's folder, from the menu or Ctrl+T in the file list.
    const auto openSheet = [this, &main] {
        main.Drive([this, &main] {
            // Kept under the program directory, never beside the user's pictures.
            const std::string& home = main.Tree().I_Am_Here_Directory;
            const QString program =
                home.empty() ? main.IAmHereDirectory() : QString::fromStdString(home);
            thumbnailSheet_->SetCacheFolder(QDir(program).filePath("ThumbnailCache"));
            const FileList& files = main.GetBrowser().Files();
            QStringList names;
            names.reserve(files.Count());
            for (const std::string& name : files.Names()) names << QString::fromStdString(name);
            thumbnailSheet_->Open(QString::fromStdString(files.Directory()), names);
        });
    };
    QObject::connect(main.Menu().Item("Thumbnail Sheet"), &QAction::triggered, &main, openSheet);
    if (auto* list = main.findChild<QListWidget*>("FileListBox1")) {
        auto* key = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_T), list);
        key->setObjectName("ThumbnailSheetKey");
        key->setContext(Qt::WidgetShortcut);
        QObject::connect(key, &QShortcut::activated, &main, openSheet);
    }
    // A click on a thumbnail shows that file in the main window.
    QObject::connect(
        thumbnailSheet_.get(), &ThumbnailSheetWindow::fileChosen, &main,
        [&main](const QString& directory, const QString& name) {
            if (QString::fromStdString(main.GetBrowser().Files().Directory()) != directory) {
                main.ShowListDirectory(directory);
            }
            const std::vector<std::string>& names = main.GetBrowser().Files().Names();
            const auto at = std::find(names.begin(), names.end(), name.toStdString());
            if (at == names.end()) return;
            main.RestoreList(directory, static_cast<int>(at - names.begin()));
        });
}

}  // namespace kobrix
