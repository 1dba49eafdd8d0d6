#pragma once

#include <QImage>
#include <QWidget>

namespace kobrix {

class Bitmap24;

// A 24-bit copy of any picture, for the pixel routines.
Bitmap24 BitmapFromImage(const QImage& image);

// The picture area of every window. Where the picture goes:
// - stretch with proportional: scaled to fit the area, keeping its aspect ratio;
// - stretch alone: over the whole area;
// - proportional alone: scaled down to fit only when it is larger than the area;
// - neither: at its own size;
// then, with centre, centred in the area (else at the top left). Auto-size makes the control
// take the size of every picture set (the full-size window). Round clips the control to the
// ellipse that fills it. Transparent leaves out every pixel of the colour of the picture's
// bottom-left pixel (the transparent colour of a bitmap), so the window shows through.
class PictureView : public QWidget {
    Q_OBJECT

  public:
    explicit PictureView(QWidget* parent = nullptr);

    // The picture is kept in a format that paints without conversion.
    void SetImage(const QImage& image);
    // Copies the pixels: the bitmap may be resized or released while the picture is shown.
    void SetBitmap(const Bitmap24& bitmap);
    void Clear();
    const QImage& Image() const { return image_; }
    bool HasPicture() const { return !image_.isNull(); }

    void SetStretch(bool on);
    void SetCenter(bool on);
    void SetProportional(bool on);
    void SetAutoSize(bool on);
    void SetRound(bool on);
    void SetTransparent(bool on);
    bool Stretch() const { return stretch_; }
    bool Center() const { return center_; }
    bool Proportional() const { return proportional_; }
    bool AutoSize() const { return autoSize_; }
    bool Round() const { return round_; }
    bool Transparent() const { return transparent_; }

    // Where the picture is drawn, in the control's coordinates; empty without a picture.
    QRect PictureRect() const;
    static QRect PictureRectFor(QSize picture, QSize area, bool stretch, bool proportional,
                                bool center);

    QSize sizeHint() const override;

  signals:
    // A button pressed and released over the picture.
    void clicked(Qt::MouseButton button);

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

  private:
    void UpdateMask();
    const QImage& PaintedImage();

    QImage image_;
    QImage keyed_;  // the picture without its transparent colour, made when first painted
    bool stretch_ = false;
    bool center_ = false;
    bool proportional_ = false;
    bool autoSize_ = false;
    bool round_ = false;
    bool transparent_ = false;
    Qt::MouseButton pressed_ = Qt::NoButton;
};

}  // namespace kobrix
