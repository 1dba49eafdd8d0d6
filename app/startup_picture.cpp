#include "app/startup_picture.h"

#include <QFont>
#include <QLinearGradient>
#include <QPainter>
#include <QRadialGradient>

namespace kobrix {

QImage StartupPicture(int width, int height) {
    QImage image(width, height, QImage::Format_RGB32);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient sky(0, 0, 0, height);
    sky.setColorAt(0, QColor(4, 6, 20));
    sky.setColorAt(1, QColor(30, 18, 28));
    p.fillRect(image.rect(), sky);
    // A few fixed stars.
    p.setPen(QColor(220, 220, 255));
    for (int i = 0; i < 60; ++i) {
        const int x = (i * 97 + 13) % width;
        const int y = (i * 57 + 29) % height;
        p.drawPoint(x, y);
    }
    const QPointF centre(width * 0.5, height * 0.48);
    const qreal radius = qMin(width, height) * 0.32;
    QRadialGradient planet(centre - QPointF(radius * 0.35, radius * 0.35), radius * 1.4);
    planet.setColorAt(0, QColor(236, 140, 80));
    planet.setColorAt(0.6, QColor(176, 72, 32));
    planet.setColorAt(1, QColor(60, 20, 10));
    p.setBrush(planet);
    p.setPen(Qt::NoPen);
    p.drawEllipse(centre, radius, radius);
    p.setPen(QColor(255, 230, 200));
    QFont font("Arial");
    font.setPixelSize(qMax(12, height / 14));
    font.setBold(true);
    p.setFont(font);
    p.drawText(QRect(0, static_cast<int>(height * 0.84), width, height / 8), Qt::AlignCenter,
               "KOBRIX 2007");
    return image;
}

}  // namespace kobrix
