// The windows of an archive volume, tied to the main window.
#include <QAction>
#include <QBoxLayout>
#include <QComboBox>
#include <QDir>
#include <QEvent>
#include <QFileInfo>
#include <QItemSelectionModel>
#include <QLabel>
#include <QListWidget>
#include <QShortcut>
#include <QStandardPaths>
#include <algorithm>
#include <functional>

#include "app/label_window.h"
#include "app/main_menu.h"
#include "app/main_window.h"
#include "app/thumbnail_sheet_window.h"
#include "app/windows.h"
#include "archive/archive_file.h"
#include "volume/derived_products.h"
#include "volume/volume_root.h"

namespace kobrix {
namespace {

// Calls `action` when the watched control is clicked.
class ClickWatch : public QObject {
  public:
    ClickWatch(std::function<void()> action, QObject* parent)
        : QObject(parent), action_(std::move(action)) {}
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::MouseButtonRelease) action_();
        return false;
    }

  private:
    std::function<void()> action_;
};

// The layout that holds `widget`, at any depth below `layout`.
QBoxLayout* HoldingLayout(QLayout* layout, QWidget* widget) {
    if (layout == nullptr) return nullptr;
    if (layout->indexOf(widget) >= 0) return qobject_cast<QBoxLayout*>(layout);
    for (int i = 0; i < layout->count(); ++i) {
        if (QBoxLayout* found = HoldingLayout(layout->itemAt(i)->layout(), widget)) return found;
    }
    return nullptr;
}

}  // namespace

void Windows::ConnectVolume() {
    MainWindow& main = *main_;
    QObject::connect(main.Menu().Item("Archive Label"), &QAction::triggered, &main, [this, &main] {
        main.Drive([this, &main] {
            const std::string selected = main.SelectedPath();
            label_->Open(
                QString::fromStdString(selected.empty() ? main.DisplayedPath() : selected));
        });
    });

    // The sheet of the file list's folder, from the menu or Ctrl+T in the file list.
    const auto sheetNames = [&main] {
        const FileList& files = main.GetBrowser().Files();
        QStringList names;
        names.reserve(files.Count());
        for (const std::string& name : files.Names()) names << QString::fromStdString(name);
        return names;
    };
    const auto openSheet = [this, &main, sheetNames] {
        main.Drive([this, &main, sheetNames] {
            // Kept under the program directory, never beside the user's pictures.
            const std::string& home = main.Tree().I_Am_Here_Directory;
            const QString program =
                home.empty() ? main.IAmHereDirectory() : QString::fromStdString(home);
            // A program directory inside an archive volume would put the cache among the
            // products (often on a read-only copy): the user's cache folder takes it then.
            const QString base =
                VolumeRootAbove(program.toStdString()).empty()
                    ? program
                    : QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation) +
                          "/kobrix";
            thumbnailSheet_->SetCacheFolder(QDir(base).filePath("ThumbnailCache"));
            thumbnailSheet_->Open(QString::fromStdString(main.ListDirectory()), sheetNames());
        });
    };
    // An open sheet follows the file list: to another folder, or to the files left after a
    // delete. A list read again unchanged keeps the sheet as it is.
    QObject::connect(
        &main, &MainWindow::fileListFilled, thumbnailSheet_.get(), [this, &main, sheetNames] {
            if (!thumbnailSheet_->isVisible()) return;
            const QString folder = QString::fromStdString(main.ListDirectory());
            const QStringList names = sheetNames();
            if (thumbnailSheet_->Folder() != folder || thumbnailSheet_->ListedNames() != names)
                thumbnailSheet_->ShowFolder(folder, names);
        });
    QObject::connect(main.Menu().Item("Thumbnail Sheet"), &QAction::triggered, &main, openSheet);
    if (auto* list = main.findChild<QListWidget*>("FileListBox1")) {
        auto* key = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_T), list);
        key->setObjectName("ThumbnailSheetKey");
        key->setContext(Qt::WidgetShortcut);
        QObject::connect(key, &QShortcut::activated, &main, openSheet);
    }
    ConnectAttributesLine();

    // A click on a thumbnail shows that file in the main window.
    QObject::connect(thumbnailSheet_.get(), &ThumbnailSheetWindow::fileChosen, &main,
                     [&main](const QString& directory, const QString& name) {
                         const std::string folder = directory.toStdString();
                         if (main.GetBrowser().Files().Directory() != folder)
                             main.ShowListDirectory(folder);
                         const std::vector<std::string>& names = main.GetBrowser().Files().Names();
                         const auto at = std::find(names.begin(), names.end(), name.toStdString());
                         if (at == names.end()) return;
                         main.RestoreList(folder, static_cast<int>(at - names.begin()));
                     });
}

// The attributes line under the picture: a click shows the label of the archive file shown,
// and an EDR's derived products are offered in a list beneath it.
void Windows::ConnectAttributesLine() {
    MainWindow& main = *main_;
    auto* line = main.findChild<QLabel*>("Label77");
    auto* files = main.findChild<QListWidget*>("FileListBox1");
    if (line == nullptr || files == nullptr) return;
    line->installEventFilter(new ClickWatch(
        [this, &main] {
            const std::string shown = main.DisplayedPath();
            if (!HasArchiveExtension(shown)) return;
            label_->Open(QString::fromStdString(shown));
        },
        line));

    auto* derived = new QComboBox(line->parentWidget());
    derived->setObjectName("DerivedProducts");
    derived->hide();
    if (QBoxLayout* layout = HoldingLayout(line->parentWidget()->layout(), line)) {
        layout->insertWidget(layout->indexOf(line) + 1, derived);
    }
    const auto refresh = [&main, derived] {
        derived->clear();
        const std::string path = main.SelectedPath();
        const std::size_t slash = path.rfind('/');
        const std::optional<ProductNameParts> parts =
            SplitProductName(slash == std::string::npos ? path : path.substr(slash + 1));
        // Under an RDR, the way back to its EDR and on to the exposure's other products.
        const std::vector<std::string> products =
            parts ? DerivedProducts(path) : std::vector<std::string>();
        derived->setVisible(!products.empty());
        if (products.empty()) return;
        derived->addItem(QString("%1 %2 product%3 of this exposure")
                             .arg(products.size())
                             .arg(IsEdrType(parts->type) ? "derived" : "other")
                             .arg(products.size() == 1 ? "" : "s"));
        for (const std::string& product : products) {
            const QFileInfo info(QString::fromStdString(product));
            derived->addItem(info.dir().dirName() + "/" + info.fileName(), info.filePath());
        }
    };
    // The selection model tells of every change, those the main window makes with the list's
    // own signals blocked as well.
    QObject::connect(files->selectionModel(), &QItemSelectionModel::currentChanged, derived,
                     refresh);
    // An open label window follows the selection.
    QObject::connect(files->selectionModel(), &QItemSelectionModel::currentChanged, label_.get(),
                     [this, &main] {
                         if (label_->isVisible())
                             label_->ShowFile(QString::fromStdString(main.SelectedPath()));
                     });
    QObject::connect(derived, &QComboBox::activated, &main, [&main, derived](int index) {
        const QString path = derived->itemData(index).toString();
        if (path.isEmpty()) return;
        const QFileInfo info(path);
        main.Drive([&main, info] {
            const std::string directory = info.absolutePath().toStdString();
            if (main.ListDirectory() != directory) main.ShowListDirectory(directory);
            const std::vector<std::string>& names = main.GetBrowser().Files().Names();
            const auto at = std::find(names.begin(), names.end(), info.fileName().toStdString());
            if (at != names.end())
                main.RestoreList(directory, static_cast<int>(at - names.begin()));
        });
    });
}

}  // namespace kobrix
