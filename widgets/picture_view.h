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
// ellipse that fills it.
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
    bool Stretch() const { return stretch_; }
    bool Center() const { return center_; }
    bool Proportional() const { return proportional_; }
    bool AutoSize() const { return autoSize_; }
    bool Round() const { return round_; }

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

    QImage image_;
    bool stretch_ = false;
    bool center_ = false;
    bool proportional_ = false;
    bool autoSize_ = false;
    bool round_ = false;
    Qt::MouseButton pressed_ = Qt::NoButton;
};

}  // namespace kobrix
