#include "widgets/setting_controls.h"

#include <QScrollBar>

#include "widgets/picture_view.h"

namespace kobrix {

PictureView* FittedSquareView(const char* objectName, int side, QWidget* parent) {
    auto* view = new PictureView(parent);
    view->setObjectName(objectName);
    view->setFixedSize(side, side);
    view->SetStretch(true);
    view->SetProportional(true);
    view->SetCenter(true);
    return view;
}

QScrollBar* PercentBar(const char* objectName, int position, int minimumWidth, QWidget* parent) {
    auto* bar = new QScrollBar(Qt::Horizontal, parent);
    bar->setObjectName(objectName);
    bar->setRange(0, 100);
    bar->setSingleStep(1);
    bar->setPageStep(10);
    bar->setValue(position);
    bar->setMinimumWidth(minimumWidth);
    return bar;
}

}  // namespace kobrix
