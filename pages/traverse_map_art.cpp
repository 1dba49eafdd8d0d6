#include "pages/traverse_map_art.h"

#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <cmath>
#include <vector>

namespace kobrix {
namespace {

struct Landmark {
    const char* name;
    double east;   // km from the landing site
    double north;  // km from the landing site
    int sol;       // when the rover reached it; 0 for a point of the route only
    enum Side { Right, Left, Below } side = Right;  // where its label goes
};

// Spirit in Gusev crater: from the landing site past Bonneville crater to the Columbia Hills,
// over Husband Hill to Home Plate, where it stayed embedded at Troy.
const std::vector<Landmark> kSpirit = {
    {"Columbia Memorial Station (landing)", 0.0, 0.0, 1, Landmark::Below},
    {"Bonneville crater", 0.30, 0.10, 68},
    {"Missoula crater", 0.75, -0.35, 105},
    {"Lahontan crater", 1.55, -0.85, 135},
    {"West Spur, Columbia Hills", 2.30, -1.25, 159},
    {"", 2.60, -1.20, 0},
    {"Husband Hill summit", 2.85, -1.45, 618},
    {"", 3.05, -1.70, 0},
    {"Home Plate", 3.15, -1.95, 744},
    {"Troy", 3.05, -2.05, 1892},
};

// Opportunity on Meridiani Planum: Eagle crater, Endurance, the long drive south to Victoria,
// then south-east to the rim of Endeavour crater.
const std::vector<Landmark> kOpportunity = {
    {"Eagle crater (landing)", 0.0, 0.0, 1, Landmark::Left},
    {"Endurance crater", 0.75, -0.05, 95},
    {"Erebus crater", 0.9, -4.0, 550},
    {"Victoria crater", 0.8, -6.3, 951},
    {"", 2.5, -9.0, 0},
    {"Santa Maria crater", 6.5, -14.5, 2451},
    {"Cape York, Endeavour rim", 9.0, -17.5, 2681},
    {"Solander Point", 9.6, -19.6, 3400},
    {"Marathon Valley", 10.0, -21.6, 4100},
    {"Perseverance Valley", 10.2, -23.6, 4780},
};

}  // namespace

QImage DrawTraverseMap(TraverseRover rover, QSize size) {
    const bool spirit = rover == TraverseRover::Spirit;
    const std::vector<Landmark>& route = spirit ? kSpirit : kOpportunity;
    QImage map(size, QImage::Format_RGB32);
    map.fill(QColor(214, 168, 120));
    QPainter painter(&map);
    painter.setRenderHint(QPainter::Antialiasing);

    double minE = 0, maxE = 0, minN = 0, maxN = 0;
    for (const Landmark& l : route) {
        minE = std::min(minE, l.east);
        maxE = std::max(maxE, l.east);
        minN = std::min(minN, l.north);
        maxN = std::max(maxN, l.north);
    }
    const QRectF area(70, 70, size.width() - 140, size.height() - 130);
    const double scale = std::min(area.width() / (maxE - minE), area.height() / (maxN - minN));
    const double offsetX = area.left() + (area.width() - (maxE - minE) * scale) / 2;
    const double offsetY = area.top() + (area.height() - (maxN - minN) * scale) / 2;
    const auto at = [&](const Landmark& l) {
        return QPointF(offsetX + (l.east - minE) * scale, offsetY + (maxN - l.north) * scale);
    };

    // A faint kilometre grid.
    painter.setPen(QPen(QColor(190, 145, 100), 1));
    const double step = spirit ? 0.5 : 2.0;
    for (double e = std::floor(minE / step) * step; e <= maxE + 1e-9; e += step) {
        const double x = offsetX + (e - minE) * scale;
        painter.drawLine(QPointF(x, area.top()), QPointF(x, area.bottom()));
    }
    for (double n = std::floor(minN / step) * step; n <= maxN + 1e-9; n += step) {
        const double y = offsetY + (maxN - n) * scale;
        painter.drawLine(QPointF(area.left(), y), QPointF(area.right(), y));
    }

    QPainterPath path(at(route.front()));
    for (std::size_t i = 1; i < route.size(); ++i) path.lineTo(at(route[i]));
    painter.setPen(QPen(QColor(200, 20, 20), 3));
    painter.drawPath(path);

    QFont font = painter.font();
    font.setPixelSize(std::max(11, size.height() / 50));
    painter.setFont(font);
    for (const Landmark& l : route) {
        if (l.name[0] == '\0') continue;
        const QPointF p = at(l);
        painter.setPen(QPen(Qt::black, 1));
        painter.setBrush(QColor(255, 230, 60));
        painter.drawEllipse(p, 5, 5);
        const QString label = QString("%1 (sol %2)").arg(l.name).arg(l.sol);
        const QRectF text = painter.fontMetrics().boundingRect(label);
        if (l.side == Landmark::Below) {
            painter.drawText(QPointF(p.x() - 4, p.y() + 20), label);
            continue;
        }
        const bool left = l.side == Landmark::Left || p.x() + text.width() + 12 > size.width() - 10;
        painter.drawText(QPointF(left ? p.x() - text.width() - 10 : p.x() + 10, p.y() + 4), label);
    }

    // Title, north arrow and scale bar.
    QFont title = font;
    title.setPixelSize(font.pixelSize() + 6);
    title.setBold(true);
    painter.setFont(title);
    painter.setPen(Qt::black);
    painter.drawText(QRectF(0, 12, size.width(), 40), Qt::AlignHCenter,
                     spirit ? "Spirit's traverse in Gusev crater"
                            : "Opportunity's traverse on Meridiani Planum");
    painter.setFont(font);
    const QPointF north(size.width() - 40, 90);
    painter.setBrush(Qt::black);
    painter.drawPolygon(
        QPolygonF({north + QPointF(0, -30), north + QPointF(-8, 0), north + QPointF(8, 0)}));
    painter.drawText(north + QPointF(-5, 16), "N");
    const double barKm = spirit ? 1.0 : 5.0;
    const QPointF bar(30, size.height() - 30);
    painter.setPen(QPen(Qt::black, 3));
    painter.drawLine(bar, bar + QPointF(barKm * scale, 0));
    painter.drawText(bar + QPointF(0, -8), QString("%1 km").arg(barKm));
    painter.drawText(QRectF(0, size.height() - 26, size.width() - 12, 20), Qt::AlignRight,
                     "Route sketched through its landmarks; put your own maps in this "
                     "rover's traverse-map directory.");
    return map;
}

}  // namespace kobrix
