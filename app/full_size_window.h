#pragma once

#include <QImage>
#include <QWidget>

#include "platform/platform.h"

class QScrollArea;

namespace kobrix {

class PictureView;

// "Full size image": the current picture at its own size on a maximised window that stays
// on top. A left click on the picture closes the window, a right click asks for the
// magnifier.
class FullSizeWindow : public QWidget {
    Q_OBJECT
  public:
    static constexpr const char* kHint = "RIGHT click to Magnify LEFT Click to CLOSE";

    explicit FullSizeWindow(Platform& platform, QWidget* parent = nullptr);

    // Shows `image` unscaled and the window maximised.
    void ShowPicture(const QImage& image);
    PictureView* Picture() const { return picture_; }

  signals:
    void magnifyRequested();

  private:
    void PictureClicked(Qt::MouseButton button);

    QScrollArea* scroll_ = nullptr;
    PictureView* picture_ = nullptr;
};

}  // namespace kobrix
