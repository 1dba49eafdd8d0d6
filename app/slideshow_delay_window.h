#pragma once

#include <QDialog>

#include "platform/platform.h"

class QLineEdit;
class QPushButton;

namespace kobrix {

// "Slideshow Delay": asks for the slideshow's delay in milliseconds. Shown without blocking;
// Save reports a valid delay through delaySaved() and closes, Cancel just closes.
// Controls by object name: Edit1 the delay box, Button1 "Save", Button2 "Cancel".
class SlideshowDelayWindow : public QDialog {
    Q_OBJECT
  public:
    explicit SlideshowDelayWindow(Platform& platform, QWidget* parent = nullptr);

    // Puts `currentDelayMs` into the box and shows the window.
    void Open(int currentDelayMs);

    // The refusal shown for a delay of 0 or less, which would make the slideshow timer spin.
    static QString NotAPositiveDelayText();

    // Save: a whole number above 0 is reported and the window closes; anything else is
    // shown as an error and the window stays open.
    void Save();

  signals:
    void delaySaved(int milliseconds);

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    Platform& platform_;
    QLineEdit* edit_ = nullptr;
    bool centred_ = false;
};

}  // namespace kobrix
