#pragma once

#include <QColor>
#include <QString>
#include <QTimer>
#include <QWidget>
#include <functional>

#include "archive/archive_file.h"
#include "imaging/bitmap24.h"
#include "platform/platform.h"
#include "tools/core/lens.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QSpinBox;

namespace kobrix {

class PictureLink;
class PictureView;

// "Magnification Tool": the current image with a lens drawn into it under the pointer while
// the left button is held, the pixel under the pointer, and a timed capture of the view to the
// clipboard. Controls by object name: Image1, PathLabel, AttributesLabel, LocationLabel,
// SolLabel, EarthTimeLabel, CameraLabel, WidthLabel and HeightLabel (the window's size after
// each load), Magnification, Radius, Square, Circle, Border,
// BorderWidth, BorderColour, Cursor, Stretch, DelayEdit, CaptureButton ("Image Capture 5"),
// Slideshow, BrightnessRecording; the other buttons by their captions.
class MagnifierWindow : public QWidget {
    Q_OBJECT
  public:
    explicit MagnifierWindow(Platform& platform, QWidget* parent = nullptr);
    // `viewClipboard` shows the clipboard tool.
    void Attach(PictureLink& link, std::function<void()> viewClipboard);
    // Where the settings file goes; by default beside the program, else in the program
    // directory of the working tree.
    void SetSettingsPath(const QString& path) { settingsPath_ = path; }
    QString SettingsPath() const;

    void OpenOnCurrentImage();  // "Magnifier Tool", and each slideshow step while following
    bool FollowsSlideshow() const;
    void LoadImage();
    void PointerMoved(QPoint at);  // in the image area's coordinates
    void PressAt(QPoint at);
    void Release();
    void StartCapture();  // "Image Capture 5"
    void CaptureTick();   // the one-second timer
    void StepImage(int delta);
    void SetFollowSlideshow(bool on);
    void CloseTool();

    const Bitmap24& Source() const { return source_; }
    const Bitmap24& View() const { return view_; }
    QTimer& CaptureTimer() { return captureTimer_; }
    LensGeometry Lens();

  private:
    void ShowBitmap(const Bitmap24& bitmap);
    void DrawLensAt(int x, int y);
    std::optional<std::pair<int, int>> ToBitmap(QPoint at) const;
    void WriteSettings(const QString& directory);
    void ApplyStretch();
    void Guarded(const std::function<void()>& action);

    Platform& platform_;
    PictureLink* link_ = nullptr;
    std::function<void()> viewClipboard_;
    Bitmap24 source_;
    // An archive file's samples as stored, for the readout beside the grey; empty otherwise.
    ArchiveSamples samples_;
    Bitmap24 view_;
    bool dragging_ = false;
    bool lensShown_ = false;
    int countdown_ = 0;
    QString settingsPath_;
    bool settingsFailureShown_ = false;
    QColor borderColour_ = Qt::red;
    QTimer captureTimer_;
    QSize fullSize_{501, 501};

    PictureView* area_ = nullptr;
    QLabel* path_ = nullptr;
    QLabel* attributes_ = nullptr;
    QLabel* location_ = nullptr;
    QLabel* sol_ = nullptr;
    QLabel* earthTime_ = nullptr;
    QLabel* camera_ = nullptr;
    QLabel* windowWidth_ = nullptr;
    QLabel* windowHeight_ = nullptr;
    QSpinBox* magnification_ = nullptr;
    QSpinBox* radius_ = nullptr;
    QRadioButton* square_ = nullptr;
    QRadioButton* circle_ = nullptr;
    QCheckBox* border_ = nullptr;
    QSpinBox* borderWidth_ = nullptr;
    QPushButton* borderColourBox_ = nullptr;
    QCheckBox* cursor_ = nullptr;
    QCheckBox* stretch_ = nullptr;
    QLineEdit* delay_ = nullptr;
    QPushButton* capture_ = nullptr;
    QCheckBox* slideshow_ = nullptr;
    QCheckBox* brightness_ = nullptr;
};

}  // namespace kobrix
