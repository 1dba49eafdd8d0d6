#include "widgets/path_label.h"

#include <QPainter>
#include <QStyle>

namespace kobrix {

PathLabel::PathLabel(const QString& text, QWidget* parent) : QLabel(text, parent) {
    setTextFormat(Qt::PlainText);
    QSizePolicy policy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    policy.setHeightForWidth(true);
    setSizePolicy(policy);
}

int PathLabel::heightForWidth(int width) const {
    const QString shown = text().isEmpty() ? QStringLiteral(" ") : text();
    return fontMetrics().boundingRect(QRect(0, 0, qMax(width, 1), 1 << 20), kFlags, shown).height();
}

QSize PathLabel::sizeHint() const {
    // No width of its own: the layout gives it one and the height follows.
    return {fontMetrics().averageCharWidth() * 20, heightForWidth(width())};
}

QSize PathLabel::minimumSizeHint() const {
    return {fontMetrics().averageCharWidth() * 4, fontMetrics().height()};
}

void PathLabel::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setPen(palette().color(foregroundRole()));
    painter.drawText(contentsRect(), kFlags, text());
}

}  // namespace kobrix
