#pragma once

#include <QColor>
#include <QString>

class QLabel;
class QPushButton;
class QWidget;

namespace kobrix {

// Small builders the windows share.
QLabel* NamedLabel(const char* objectName, const QString& text, QWidget* parent);
QPushButton* NamedButton(const char* objectName, const QString& text, QWidget* parent,
                         const QString& hint = QString());
// A button that Return does not press unless it is the window's default one.
QPushButton* PlainButton(const char* objectName, const QString& text, QWidget* parent);
// The window's background in one colour (white pages, the yellow searcher).
void PaintBackground(QWidget& window, const QColor& colour);
// Lays the window out now and makes it at least as large as its contents ask.
void GrowToFit(QWidget& window);

}  // namespace kobrix
