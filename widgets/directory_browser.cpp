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
    QStringList chain;
    QDir dir(current_);
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
    const QStringList subdirectories =
        QDir(current_).entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase);
    for (const QString& sub : subdirectories) {
        auto* item = new QListWidgetItem(QString(depth * 2, ' ') + sub, &directories_);
        item->setData(Qt::UserRole, QDir(current_).filePath(sub));
    }
}

void DirectoryBrowser::OnDirectoryActivated(QListWidgetItem* item) {
    if (!item) return;
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
