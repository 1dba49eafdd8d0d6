#pragma once

#include <QString>
#include <QStringList>
#include <QThreadPool>
#include <QWidget>
#include <memory>

#include "platform/platform.h"

class QLabel;
class QListView;
class QProgressBar;

namespace kobrix {

class ThumbnailSheetModel;

// "Thumbnail Sheet": every picture of a folder as a thumbnail with its camera, eye, filter and
// time under it. Thumbnails are made on worker threads only for the rows the view paints, so
// a sol of thousands of products opens at once; made ones are kept in the program's cache
// folder (never beside the pictures) and found there the next time. Controls by object name:
// SheetFolder the folder, SheetView the thumbnails, SheetProgress and SheetStatus the count
// of thumbnails ready.
class ThumbnailSheetWindow : public QWidget {
    Q_OBJECT
  public:
    static constexpr int kEdge = 128;

    explicit ThumbnailSheetWindow(Platform& platform, QWidget* parent = nullptr);
    ~ThumbnailSheetWindow() override;

    // Where made thumbnails are kept.
    void SetCacheFolder(const QString& folder);
    const QString& CacheFolder() const { return cacheFolder_; }
    // The pictures `names` of `directory` (archive labels that stand beside their .IMG are
    // left out); thumbnails still being made for the folder before are dropped.
    void ShowFolder(const QString& directory, const QStringList& names);
    void Open(const QString& directory, const QStringList& names);
    const QString& Folder() const { return directory_; }
    // The names ShowFolder was given last, labels and all.
    const QStringList& ListedNames() const { return listed_; }

    int Count() const;
    // Thumbnails asked for (by painting) and ready so far.
    int Requested() const;
    int Ready() const;
    // How many of the ready ones were made rather than found in the cache.
    int Made() const;
    QString Caption(int row) const;
    QString Name(int row) const;
    // Waits for the worker threads and hands their thumbnails to the view.
    void FinishWork();
    QListView& View() { return *view_; }

  signals:
    // A thumbnail was clicked: its file name in the folder.
    void fileChosen(const QString& directory, const QString& name);

  private:
    void UpdateProgress();

    Platform& platform_;
    QString cacheFolder_;
    QString directory_;
    QStringList listed_;
    QThreadPool pool_;
    std::unique_ptr<ThumbnailSheetModel> model_;
    QLabel* folder_ = nullptr;
    QListView* view_ = nullptr;
    QProgressBar* progress_ = nullptr;
    QLabel* status_ = nullptr;
};

}  // namespace kobrix
