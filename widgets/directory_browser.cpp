#include "widgets/directory_browser.h"

#include <QDir>
#include <QSignalBlocker>
#include <QStorageInfo>

namespace kobrix {

DirectoryBrowser::DirectoryBrowser(QComboBox& drives, QListWidget& directories, QObject* parent)
    : QObject(parent), drives_(drives), directories_(directories) {
    FillDrives();
    connect(&directories_, &QListWidget::itemActivated, this,
            &DirectoryBrowser::OnDirectoryActivated);
    connect(&drives_, &QComboBox::activated, this, &DirectoryBrowser::OnDriveChosen);
}

int DirectoryBrowser::AddFolderChain(const QString& folder) {
    // The folder and every folder above it, each indented one step further, the folder last
    // and current.
    QStringList chain;
    QDir dir(folder);
    do {
        chain.prepend(dir.absolutePath());
    } while (dir.cdUp());
    int depth = 0;
    for (const QString& path : chain) {
        const QString name = depth == 0 ? path : QDir(path).dirName();
        auto* item = new QListWidgetItem(QString(depth * 2, ' ') + name, &directories_);
        item->setData(Qt::UserRole, path);
        ++depth;
    }
    directories_.setCurrentRow(directories_.count() - 1);
    return depth;
}

void DirectoryBrowser::FillDrives() {
    const QSignalBlocker block(drives_);
    drives_.clear();
    QStringList roots;
    for (const QStorageInfo& volume : QStorageInfo::mountedVolumes()) {
        if (volume.isValid() && volume.isReady() && !roots.contains(volume.rootPath())) {
            roots << volume.rootPath();
        }
    }
    roots.sort(Qt::CaseInsensitive);
    for (const QString& root : roots) drives_.addItem(root, root);
}

void DirectoryBrowser::SetCurrent(const QString& path) {
    current_ = QDir(path).absolutePath();
    // The drive is the longest mount point that holds the directory.
    const QSignalBlocker block(drives_);
    int best = -1;
    int bestLength = -1;
    for (int i = 0; i < drives_.count(); ++i) {
        const QString root = drives_.itemData(i).toString();
        if (current_.startsWith(root) && root.size() > bestLength) {
            best = i;
            bestLength = static_cast<int>(root.size());
        }
    }
    if (best >= 0) drives_.setCurrentIndex(best);
    FillDirectories();
}

void DirectoryBrowser::FillDirectories() {
    const QSignalBlocker block(directories_);
    directories_.clear();
    if (FillSols()) return;
    const int depth = AddFolderChain(current_);
    const QStringList subdirectories =
        QDir(current_).entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase);
    for (const QString& sub : subdirectories) {
        auto* item = new QListWidgetItem(QString(depth * 2, ' ') + sub, &directories_);
        item->setData(Qt::UserRole, QDir(current_).filePath(sub));
    }
}

bool DirectoryBrowser::FillSols() {
    const std::optional<VolumePlace> place = LocateInVolume(current_.toStdString());
    if (!place) return false;
    if (!volume_ || volume_->root != place->root || place->kind == VolumePlace::Kind::Root) {
        volume_ = OpenVolume(place->root);
        if (!volume_) return false;
    }
    if (place->kind == VolumePlace::Kind::Edr || place->kind == VolumePlace::Kind::Rdr) {
        rdr_ = place->kind == VolumePlace::Kind::Rdr;
    }
    const int depth = AddFolderChain(QString::fromStdString(place->root));
    const QString indent(depth * 2, ' ');
    auto* toggle = new QListWidgetItem(
        indent + (rdr_ ? "[rdr/ products: choose for edr/]" : "[edr/ products: choose for rdr/]"),
        &directories_);
    toggle->setData(Qt::UserRole + 1, true);
    for (const VolumeSol& sol : volume_->sols) {
        const std::string& products = rdr_ ? sol.rdr : sol.edr;
        QString text = indent + QString("sol %1").arg(sol.sol, 4, 10, QChar('0'));
        if (sol.middleUtc != 0) text += "   " + QString::fromStdString(IsoDate(sol.middleUtc));
        if (products.empty()) text += rdr_ ? "   (no rdr/)" : "   (no edr/)";
        auto* item = new QListWidgetItem(text, &directories_);
        item->setData(Qt::UserRole,
                      QString::fromStdString(products.empty() ? sol.folder : products));
        if (sol.sol == place->sol) directories_.setCurrentItem(item);
    }
    // The root's other folders (index/, document/, calib/ and the like) stay in reach.
    const QDir root(QString::fromStdString(place->root));
    for (const QString& sub :
         root.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase)) {
        if (sub.compare("data", Qt::CaseInsensitive) == 0) continue;
        auto* item = new QListWidgetItem(indent + sub, &directories_);
        item->setData(Qt::UserRole, root.filePath(sub));
    }
    return true;
}

void DirectoryBrowser::OnDirectoryActivated(QListWidgetItem* item) {
    if (!item) return;
    if (item->data(Qt::UserRole + 1).toBool()) {
        // The edr/ and rdr/ switch: the sol shown, if any, opens in the other folder.
        rdr_ = !rdr_;
        const std::optional<VolumePlace> place = LocateInVolume(current_.toStdString());
        if (place && place->sol >= 0 && volume_) {
            for (const VolumeSol& sol : volume_->sols) {
                const std::string& products = rdr_ ? sol.rdr : sol.edr;
                if (sol.sol != place->sol || products.empty()) continue;
                SetCurrent(QString::fromStdString(products));
                emit directoryChosen(current_);
                return;
            }
        }
        const QSignalBlocker block(directories_);
        directories_.clear();
        FillSols();
        return;
    }
    const QString path = item->data(Qt::UserRole).toString();
    SetCurrent(path);
    emit directoryChosen(current_);
}

void DirectoryBrowser::OnDriveChosen(int index) {
    const QString root = drives_.itemData(index).toString();
    if (root.isEmpty()) return;
    SetCurrent(root);
    emit directoryChosen(current_);
}

}  // namespace kobrix
