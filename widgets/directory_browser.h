#pragma once

#include <QComboBox>
#include <QListWidget>
#include <QObject>
#include <QString>

namespace kobrix {

// The drive list and the directory list of the main window, kept in step: the drives are
// the mounted volumes; the directory list shows the path from the root down to the current
// directory, then its subdirectories. Double-clicking an entry opens it.
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
    void OnDirectoryActivated(QListWidgetItem* item);
    void OnDriveChosen(int index);

    QComboBox& drives_;
    QListWidget& directories_;
    QString current_;
};

}  // namespace kobrix
