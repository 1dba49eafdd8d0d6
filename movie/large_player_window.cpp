#include "movie/large_player_window.h"

#include <QCloseEvent>
#include <QVBoxLayout>

#include "widgets/controls.h"
#include "widgets/picture_view.h"

namespace kobrix {

LargePlayerWindow::LargePlayerWindow(QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::WindowStaysOnTopHint) {
    setObjectName("AVIplyrUnit200741");
    setWindowTitle("Kobrix AVI Player");
    SetDesignSize(*this, QSize(777, 553));
    PaintBackground(*this, Qt::black);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    image_ = new PictureView(this);
    image_->setObjectName("ImageWindow1");
    image_->SetStretch(true);
    image_->SetCenter(true);
    image_->setToolTip("Click the screen to end and close.");
    layout->addWidget(image_);
    connect(image_, &PictureView::clicked, this, [this] { emit screenClicked(); });
}

void LargePlayerWindow::closeEvent(QCloseEvent* event) {
    QWidget::closeEvent(event);
    emit closed();
}

}  // namespace kobrix
