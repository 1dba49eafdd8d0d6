#pragma once

#include <QWidget>

#include "platform/platform.h"

namespace kobrix {

class PictureView;

// "Kobrix AVI Player": one image window over the whole client area, black, kept on top, that
// movies play into. A click anywhere on it ends the playback (the tool decides how).
class LargePlayerWindow : public QWidget {
    Q_OBJECT
  public:
    explicit LargePlayerWindow(QWidget* parent = nullptr);
    explicit LargePlayerWindow(Platform&, QWidget* parent = nullptr) : LargePlayerWindow(parent) {}
    PictureView& ImageWindow() { return *image_; }

  signals:
    void screenClicked();
    void closed();  // by the window's own close button as well

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    PictureView* image_ = nullptr;
};

}  // namespace kobrix
