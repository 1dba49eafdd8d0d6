#pragma once

#include <QString>
#include <QWidget>

#include "imaging/bitmap24.h"
#include "platform/platform.h"

class QLabel;
class QLineEdit;
class QPushButton;

namespace kobrix {

class PictureView;

// "Sunset": nightfall on a picture. The fade lowers every byte by one a pass for 256 passes,
// waiting the "Delay" (milliseconds, at most 255) and repainting after each, then shows
// "Night Time". Nothing is written to disk.
//
// Controls by object name: Image1 the picture, Button2 "Open Image", Button4 "Initiate Sunset
// Fade", Button5 "Re-instate Image", Button1 "Close", Edit1 the delay, Edit2 the hidden step,
// Label3 "Night Time".
class SunsetWindow : public QWidget {
    Q_OBJECT
  public:
    explicit SunsetWindow(Platform& platform, QWidget* parent = nullptr);

    // The main window's "Sunset Sim fade": takes over the picture on display, with the path of
    // its file for the open dialog, and shows the window.
    void Receive(const QImage& picture, const QString& path);

    void Button2Click();  // Open Image
    void Button4Click();  // Initiate Sunset Fade
    void Button5Click();  // Re-instate Image
    void Button1Click();  // Close

    const Bitmap24& Working() const { return working_; }
    bool Fading() const { return fading_; }

  private:
    void TakeOver(Bitmap24 picture);
    void ShowWorking();
    void Fade();

    Platform& platform_;
    Bitmap24 working_;
    Bitmap24 kept_;
    QString dialogFile_;
    bool fading_ = false;

    PictureView* view_ = nullptr;
    QLineEdit* delay_ = nullptr;
    QLineEdit* step_ = nullptr;
    QLabel* nightTime_ = nullptr;
    QList<QPushButton*> buttons_;
};

}  // namespace kobrix
