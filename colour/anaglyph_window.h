#pragma once

#include <QString>
#include <QWidget>

#include "colour/core/anaglyph.h"
#include "imaging/bitmap24.h"
#include "platform/platform.h"

class QLabel;
class QPushButton;
class QScrollBar;

namespace kobrix {

class BrowsingLink;
class PictureView;

// "Anaglyph": a red/cyan anaglyph from a stereo pair. The right-eye picture (image 1) gives
// blue and green, the left-eye picture (image 2) red; the two are cross-faded by Merge, then
// Contrast and Brightness apply, and the result can be saved into the anaglyph directory
// under a name that records the three settings.
//
// Controls by object name: Label1 and Label2 the two files, Label9 the file to save, Label13
// "SAVED", Image1 and Image2 the small views, Image6 the result; Button2 "Manual Adjustment
// Controls", Button3 "Save As", Button5 "Close", Button9 and Button10 the load buttons,
// Button8 "Make Cyan", Button4 "Make Blue", Button7 "Make Red" (never shown), Button1
// "Reset"; ScrollBar1 Merge, ScrollBar3 Contrast, ScrollBar2 Brightness with the value labels
// MergeValue, ContrastValue and BrightnessValue.
class AnaglyphWindow : public QWidget {
    Q_OBJECT
  public:
    explicit AnaglyphWindow(Platform& platform, QWidget* parent = nullptr);
    // The main window, for the save directory and for switching its file list while saving.
    void Attach(BrowsingLink& link) { link_ = &link; }

    // From the stereo viewer: loads both pictures as the open dialog had them chosen, makes
    // the anaglyph at the reset settings and shows the window.
    void LoadPair(const QString& rightEyePath, const QString& leftEyePath);

    void Button9Click();   // load image 1
    void Button10Click();  // load image 2
    void Button8Click();   // Make Cyan
    void Button4Click();   // Make Blue
    void Button7Click();   // Make Red
    void Button1Click();   // Reset
    void Button2Click();   // Manual Adjustment Controls
    void Button3Click();   // Save As
    void Button5Click();   // Close

    AnaglyphSettings Settings() const;
    const Bitmap24& Final() const { return final_; }
    bool Loaded1() const { return loaded1_; }
    bool Loaded2() const { return loaded2_; }
    // The hidden flag: "yes" when the load buttons take the file already placed in the open
    // dialog, "no" when they ask.
    QString PreselectedFile() const;

  private:
    void LoadImage(int number);
    void Separate1(Separation kind);
    void SettingChanged(QScrollBar* bar, QLabel* value);
    void Render();
    void SetManualControlsVisible(bool visible);
    void Guarded(void (AnaglyphWindow::*handler)());

    Platform& platform_;
    BrowsingLink* link_ = nullptr;

    Bitmap24 source1_;
    Bitmap24 source2_;
    Bitmap24 separated1_;
    Bitmap24 separated2_;
    Bitmap24 final_;
    bool loaded1_ = false;
    bool loaded2_ = false;
    // The file name the open dialog holds: the last chosen or handed over.
    QString dialogFile_;

    QLabel* file1_ = nullptr;
    QLabel* file2_ = nullptr;
    QLabel* fileToSave_ = nullptr;
    QLabel* saved_ = nullptr;
    QLabel* preselected_ = nullptr;
    PictureView* view1_ = nullptr;
    PictureView* view2_ = nullptr;
    PictureView* result_ = nullptr;
    QPushButton* load1_ = nullptr;
    QPushButton* load2_ = nullptr;
    QPushButton* makeCyan_ = nullptr;
    QPushButton* makeBlue_ = nullptr;
    QPushButton* makeRed_ = nullptr;
    QPushButton* reset_ = nullptr;
    QScrollBar* merge_ = nullptr;
    QScrollBar* contrast_ = nullptr;
    QScrollBar* brightness_ = nullptr;
    QList<QWidget*> settingControls_;  // the bars, their captions and value labels
};

}  // namespace kobrix
