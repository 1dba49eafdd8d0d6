#include "widgets/picture_view.h"

#include <cstring>

#include <QMouseEvent>
#include <QPainter>
#include <QRegion>

#include "imaging/bitmap24.h"

namespace kobrix {
namespace {

// A new picture area is 150 x 150, as the designer draws it.
constexpr QSize kDefaultSize{150, 150};

QImage PaintFormat(const QImage& image) {
    if (image.isNull()) return {};
    const QImage::Format format =
        image.hasAlphaChannel() ? QImage::Format_ARGB32_Premultiplied : QImage::Format_RGB32;
    return image.format() == format ? image : image.convertToFormat(format);
}

}  // namespace

PictureView::PictureView(QWidget* parent) : QWidget(parent) {
    resize(kDefaultSize);
}

void PictureView::SetImage(const QImage& image) {
    image_ = PaintFormat(image);
    keyed_ = QImage();
    if (autoSize_ && !image_.isNull()) resize(image_.size());
    update();
}

Bitmap24 BitmapFromImage(const QImage& image) {
    Bitmap24 bitmap;
    if (image.isNull()) return bitmap;
    const QImage bgr = image.convertToFormat(QImage::Format_BGR888);
    bitmap.Resize(bgr.width(), bgr.height());
    const auto rowBytes = static_cast<std::size_t>(bgr.width()) * 3;
    for (int y = 0; y < bgr.height(); ++y)
        std::memcpy(bitmap.Row(y), bgr.constScanLine(y), rowBytes);
    return bitmap;
}

void PictureView::SetBitmap(const Bitmap24& bitmap) {
    if (bitmap.Empty()) {
        Clear();
        return;
    }
    // The same layout as the bitmap's rows; the conversion makes the copy.
    const QImage view(bitmap.Data(), bitmap.Width(), bitmap.Height(),
                      static_cast<qsizetype>(bitmap.Stride()), QImage::Format_BGR888);
    SetImage(view.convertToFormat(QImage::Format_RGB32));
}

void PictureView::Clear() {
    image_ = QImage();
    update();
}

void PictureView::SetStretch(bool on) {
    if (stretch_ == on) return;
    stretch_ = on;
    update();
}

void PictureView::SetCenter(bool on) {
    if (center_ == on) return;
    center_ = on;
    update();
}

void PictureView::SetProportional(bool on) {
    if (proportional_ == on) return;
    proportional_ = on;
    update();
}

void PictureView::SetAutoSize(bool on) {
    autoSize_ = on;
    if (autoSize_ && !image_.isNull()) resize(image_.size());
}

void PictureView::SetRound(bool on) {
    round_ = on;
    UpdateMask();
}

QRect PictureView::PictureRectFor(QSize picture, QSize area, bool stretch, bool proportional,
                                  bool center) {
    if (picture.isEmpty()) return {};
    int w = picture.width();
    int h = picture.height();
    const int areaW = area.width();
    const int areaH = area.height();
    if (stretch || (proportional && (w > areaW || h > areaH))) {
        if (proportional) {
            // Fit the longer side, then shrink again if the other side is still too long.
            const double aspect = static_cast<double>(w) / h;
            if (w > h) {
                w = areaW;
                h = static_cast<int>(areaW / aspect);
                if (h > areaH) {
                    h = areaH;
                    w = static_cast<int>(areaH * aspect);
                }
            } else {
                h = areaH;
                w = static_cast<int>(areaH * aspect);
                if (w > areaW) {
                    w = areaW;
                    h = static_cast<int>(areaW / aspect);
                }
            }
        } else {
            w = areaW;
            h = areaH;
        }
    }
    QRect rect(0, 0, w, h);
    // Integer division truncates towards zero, also for a picture larger than the area.
    if (center) rect.translate((areaW - w) / 2, (areaH - h) / 2);
    return rect;
}

QRect PictureView::PictureRect() const {
    return PictureRectFor(image_.size(), size(), stretch_, proportional_, center_);
}

QSize PictureView::sizeHint() const {
    return autoSize_ && !image_.isNull() ? image_.size() : kDefaultSize;
}

void PictureView::SetTransparent(bool on) {
    if (transparent_ == on) return;
    transparent_ = on;
    update();
}

const QImage& PictureView::PaintedImage() {
    if (!transparent_ || image_.isNull() || image_.hasAlphaChannel()) return image_;
    if (keyed_.isNull()) {
        keyed_ = image_.convertToFormat(QImage::Format_ARGB32);
        const QRgb key = image_.pixel(0, image_.height() - 1);
        for (int y = 0; y < keyed_.height(); ++y) {
            auto* row = reinterpret_cast<QRgb*>(keyed_.scanLine(y));
            for (int x = 0; x < keyed_.width(); ++x) {
                if (row[x] == key) row[x] = 0;
            }
        }
    }
    return keyed_;
}

void PictureView::paintEvent(QPaintEvent*) {
    const QRect target = PictureRect();
    if (target.isEmpty()) return;
    QPainter painter(this);
    if (target.size() != image_.size()) {
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
    }
    painter.drawImage(target, PaintedImage());
}

void PictureView::mousePressEvent(QMouseEvent* event) {
    pressed_ = event->button();
    event->accept();
}

void PictureView::mouseReleaseEvent(QMouseEvent* event) {
    const bool click = event->button() == pressed_ && rect().contains(event->position().toPoint());
    pressed_ = Qt::NoButton;
    event->accept();
    if (click) emit clicked(event->button());
}

void PictureView::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    UpdateMask();
}

void PictureView::UpdateMask() {
    if (round_) {
        setMask(QRegion(rect(), QRegion::Ellipse));
    } else {
        clearMask();
    }
}

}  // namespace kobrix
