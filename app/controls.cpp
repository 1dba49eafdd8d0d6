#include "app/controls.h"

#include <QLabel>
#include <QLayout>
#include <QPushButton>
#include <QWidget>

namespace kobrix {

QLabel* NamedLabel(const char* objectName, const QString& text, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    if (*objectName) label->setObjectName(objectName);
    return label;
}

QPushButton* NamedButton(const char* objectName, const QString& text, QWidget* parent,
                         const QString& hint) {
    auto* button = new QPushButton(text, parent);
    button->setObjectName(objectName);
    if (!hint.isEmpty()) button->setToolTip(hint);
    return button;
}

QPushButton* PlainButton(const char* objectName, const QString& text, QWidget* parent) {
    QPushButton* button = NamedButton(objectName, text, parent);
    button->setAutoDefault(false);
    return button;
}

void PaintBackground(QWidget& window, const QColor& colour) {
    QPalette palette = window.palette();
    palette.setColor(QPalette::Window, colour);
    window.setPalette(palette);
    window.setAutoFillBackground(true);
}

void GrowToFit(QWidget& window) {
    if (QLayout* layout = window.layout()) layout->activate();
    window.resize(window.size().expandedTo(window.sizeHint()));
}

}  // namespace kobrix
