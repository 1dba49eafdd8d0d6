#pragma once

#include <QString>
#include <QStringList>
#include <QWidget>

#include "browse/working_tree.h"
#include "platform/platform.h"

class QLineEdit;
class QPushButton;

namespace kobrix {

class PictureView;

// "KOBRIX 2007 Directories": the working directories of the program, with buttons that point
// the main window's file list at one of them, and a directory of the user's own choosing.
// Controls by object name: the values "CurrentWorkingDirectory", "I_Am_Here_Directory",
// "MainImageDirectory", "AnaglyphSaveDirectory", "Directory_456_RGB", "ColourSaveDirectory",
// "RememberedPath"; the buttons "HomeButton", "NasaButton", "AnaglyphButton", "RgbButton",
// "ColourButton", "JumpButton", "BrowseButton", "HelpMenuButton", "CloseButton"; the picture of
// the chosen file "RememberedPicture".
class DirectoriesWindow : public QWidget {
    Q_OBJECT
  public:
    explicit DirectoriesWindow(Platform& platform, QWidget* parent = nullptr);

    // The paths as the latest check computed them.
    void ShowTree(const WorkingTree& tree);
    // Not kept above the other windows.
    void MakeOrdinary();

    // The file chosen with Browse; empty until then.
    const QString& RememberedPath() const { return remembered_; }
    // The browse dialog's type list.
    static QStringList BrowseFilters();

    // Browse for a New Directory: a chosen picture is shown, remembered, and jumped to.
    void Browse();
    // Jump: to the remembered file's directory.
    void Jump();

  signals:
    void helpMenuClicked();
    // The main window's file list should show `directory` (empty: stay where it is), select
    // its first entry and display it. The window closes afterwards.
    void jumpRequested(const QString& directory);

  private:
    void JumpTo(const QString& directory);

    Platform& platform_;
    WorkingTree tree_;
    QString remembered_;
    QLineEdit* current_ = nullptr;
    QLineEdit* home_ = nullptr;
    QLineEdit* mainImages_ = nullptr;
    QLineEdit* anaglyphs_ = nullptr;
    QLineEdit* rgb_ = nullptr;
    QLineEdit* colour_ = nullptr;
    QLineEdit* rememberedValue_ = nullptr;
    PictureView* rememberedPicture_ = nullptr;
};

}  // namespace kobrix
