#pragma once

#include <QObject>
#include <QString>
#include <string>
#include <vector>

#include "imaging/bitmap24.h"
#include "platform/platform.h"

class QLabel;
class QListWidget;

namespace kobrix {

class MainWindow;

// The main window's controls the file commands work on.
struct FileCommandControls {
    QLabel& pathCaption;       // Label1
    QListWidget& fileList;     // FileListBox1
    QListWidget& multiSelect;  // ListBox1, hidden until offered, laid over the file list
};

// What the AVI creation tool picks up: the main window's directory and selected index at the
// latest collection or copy.
struct AviHandover {
    std::string directory;
    int index = -1;
};

// The main window's file commands: "Delete" and "Save as" of the File menu, and the
// multi-select list that copies files into the AVI source directory (a right click on the
// file list offers it, a click collects its selected entries, a right click copies them).
// It watches the two lists' mouse buttons itself; the main window connects the menu items.
class FileCommands : public QObject {
    Q_OBJECT
  public:
    FileCommands(Platform& platform, MainWindow& main, const FileCommandControls& controls,
                 QObject* parent = nullptr);

    void Delete();
    void SaveAs();
    // "TagSave": the same dialog for `picture`, the main window's picture with its tag.
    void SaveAs(const Bitmap24& picture);
    void FileListRightClick();     // offers the multi-select list
    void MultiSelectClick();       // shows each selected entry in turn and collects it
    void MultiSelectRightClick();  // copies the collected files, then hands over

    const std::vector<std::string>& Collected() const { return collected_; }
    const AviHandover& Handover() const { return handover_; }

    // The save dialog's type list; the third is JPEG.
    static const QStringList& SaveTypes();

  signals:
    // After a copy (or its refusal): open the AVI creation tool and convert the copied JPEG
    // frames to bitmaps there. `directory` is the recorded main directory (see Handover()).
    void aviToolRequested(const QString& directory);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void RecordHandover();
    void PlaceMultiSelect();
    void Restore(const std::string& directory, int index);

    Platform& platform_;
    MainWindow& main_;
    FileCommandControls controls_;
    std::vector<std::string> collected_;
    AviHandover handover_;
    bool copying_ = false;  // a copy is under way (its waits let other events run)
};

}  // namespace kobrix
