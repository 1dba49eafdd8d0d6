#include "app/full_size_window.h"

#include <QScrollArea>
#include <QVBoxLayout>

#include "widgets/picture_view.h"

namespace kobrix {

FullSizeWindow::FullSizeWindow(Platform& /*platform*/, QWidget* parent) : QWidget(parent) {
    setObjectName("FullSizeUnit200716");
    setWindowTitle("Full size image");
    setWindowFlag(Qt::WindowStaysOnTopHint);

    picture_ = new PictureView;
    picture_->setObjectName("Image1");
    picture_->SetAutoSize(true);
    picture_->SetCenter(true);
    picture_->setToolTip(kHint);
    connect(picture_, &PictureView::clicked, this, &FullSizeWindow::PictureClicked);

    // A picture larger than the screen scrolls; a smaller one sits in the middle.
    scroll_ = new QScrollArea(this);
    scroll_->setObjectName("ScrollBox1");
    scroll_->setFrameShape(QFrame::NoFrame);
    scroll_->setAlignment(Qt::AlignCenter);
    scroll_->setWidgetResizable(false);
    scroll_->setWidget(picture_);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(scroll_);
}

void FullSizeWindow::ShowPicture(const QImage& image) {
    picture_->SetImage(image);
    picture_->resize(image.size());
    showMaximized();
    raise();
    activateWindow();
}

void FullSizeWindow::PictureClicked(Qt::MouseButton button) {
    picture_->setToolTip(button == Qt::MiddleButton ? "MIDDLE" : kHint);
    if (button == Qt::LeftButton) {
        hide();
    } else if (button == Qt::RightButton) {
        emit magnifyRequested();
    }
}

}  // namespace kobrix
