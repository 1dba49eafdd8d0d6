#pragma once

#include <QComboBox>
#include <QListWidget>
#include <QObject>
#include <QString>
#include <optional>

#include "volume/volume_root.h"

namespace kobrix {

// The drive list and the directory list of the main window, kept in step: the drives are
// the mounted volumes; the directory list shows the path from the root down to the current
// directory, then its subdirectories. Double-clicking an entry opens it. Inside an archive
// volume (a folder holding data/solNNNN/) the list shows the path down to the volume's root,
// then its sols with their Earth dates in place of the folders: a sol opens its edr/ folder,
// or its rdr/ folder once the switch entry above the sols is chosen.
class DirectoryBrowser : public QObject {
    Q_OBJECT
  public:
    DirectoryBrowser(QComboBox& drives, QListWidget& directories, QObject* parent = nullptr);

    const QString& Current() const { return current_; }
    // Shows `path` (made absolute) without announcing it.
    void SetCurrent(const QString& path);

  signals:
    void directoryChosen(const QString& path);

  private:
    void FillDrives();
    void FillDirectories();
    // The sols of the volume that holds the current directory; false outside volumes.
    bool FillSols();
    // Lists `folder` and the folders above it; returns how many entries that made.
    int AddFolderChain(const QString& folder);
    void OnDirectoryActivated(QListWidgetItem* item);
    void OnDriveChosen(int index);

    QComboBox& drives_;
    QListWidget& directories_;
    QString current_;
    std::optional<Volume> volume_;  // the latest volume shown
    bool rdr_ = false;              // a sol opens its rdr/ folder
};

}  // namespace kobrix
