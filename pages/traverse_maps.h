#pragma once

#include <QString>
#include <QWidget>

#include "browse/file_list.h"
#include "pages/traverse_map_art.h"
#include "platform/platform.h"

class QListWidget;
class QPushButton;

namespace kobrix {

class PictureView;

// "Traverse Maps": the captions "Spirit" and "Opportunity", each showing its rover's viewer.
class TraverseChooserPage : public QWidget {
    Q_OBJECT
  public:
    explicit TraverseChooserPage(Platform& platform, QWidget* parent = nullptr);

  signals:
    void roverChosen(kobrix::TraverseRover rover);
};

// A rover's map viewer: the maps of its traverse-map directory, one at a time, stepped through
// in file-list order; until one is chosen it shows the map stored with the page.
// Controls by object name: Image1, FileListBox1 (hidden), and the buttons "<<<<<", ">>>>>",
// "P" (hidden), "Print" and "Close".
class MapViewerPage : public QWidget {
    Q_OBJECT
  public:
    MapViewerPage(Platform& platform, TraverseRover rover, QWidget* parent = nullptr);

    // Points the hidden file list at `directory` (read again every time).
    void PointAt(const QString& directory);
    void Previous();      // "<<<<<"
    void Next();          // ">>>>>"
    void ShowSelected();  // "P"

    const QString& ShownFile() const { return shown_; }
    const FileList& Maps() const { return maps_; }
    PictureView& Picture() { return *picture_; }
    QPushButton& PrintButton() { return *print_; }

  signals:
    void printClicked();

  private:
    void Guarded(const std::function<void()>& action);
    void Select(int index);

    Platform& platform_;
    FileList maps_;
    QString shown_;
    PictureView* picture_ = nullptr;
    QListWidget* list_ = nullptr;
    QPushButton* print_ = nullptr;
};

}  // namespace kobrix
