#pragma once

#include <QWidget>

#include "platform/platform.h"

class QCheckBox;

namespace kobrix {

class BrowsingLink;
class PictureView;

// "Kobrix Clipboard Viewer           Kobrix Clipboard": the picture on the clipboard, and its
// save into the clipboard directory under a name from the current image. Controls by object
// name: Image1 (a click closes), CloseButton, SaveButton, JpegBox.
class ClipboardWindow : public QWidget {
    Q_OBJECT
  public:
    explicit ClipboardWindow(Platform& platform, QWidget* parent = nullptr);
    void Attach(BrowsingLink& link) { link_ = &link; }

    void ShowClipboard();
    void SaveClipboard();
    QString ProposedName() const;
    PictureView& Picture() const { return *view_; }

  private:
    Platform& platform_;
    BrowsingLink* link_ = nullptr;
    PictureView* view_ = nullptr;
    QCheckBox* jpeg_ = nullptr;
};

}  // namespace kobrix
