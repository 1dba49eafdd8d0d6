#include "widgets/picture_view.h"

#include <vector>

#include <QApplication>
#include <QMouseEvent>

#include <gtest/gtest.h>

#include "imaging/bitmap24.h"

namespace kobrix {
namespace {

const QColor kBackground(0, 255, 0);
const QColor kLeft(255, 0, 0);
const QColor kRight(0, 0, 255);

// Two pixels side by side: red, blue.
QImage TwoByOne() {
    QImage image(2, 1, QImage::Format_RGB32);
    image.setPixelColor(0, 0, kLeft);
    image.setPixelColor(1, 0, kRight);
    return image;
}

class PictureViewTest : public ::testing::Test {
  protected:
    PictureViewTest() {
        view_.resize(200, 100);
        QPalette palette = view_.palette();
        palette.setColor(QPalette::Window, kBackground);
        view_.setPalette(palette);
        view_.setAutoFillBackground(true);
        view_.SetCenter(true);
        view_.SetProportional(true);
    }

    PictureView view_;
};

TEST_F(PictureViewTest, StretchedProportionalPictureFillsTheAreaCentred) {
    view_.resize(200, 200);
    view_.SetStretch(true);
    view_.SetImage(TwoByOne());
    EXPECT_EQ(view_.PictureRect(), QRect(0, 50, 200, 100));
    const QImage shot = view_.grab().toImage();
    EXPECT_EQ(shot.pixelColor(100, 49), kBackground);
    EXPECT_EQ(shot.pixelColor(100, 150), kBackground);
    EXPECT_EQ(shot.pixelColor(2, 100), kLeft);
    EXPECT_EQ(shot.pixelColor(197, 100), kRight);
    EXPECT_NE(shot.pixelColor(100, 100), kBackground);
}

TEST_F(PictureViewTest, UnstretchedSmallPictureKeepsItsSizeCentred) {
    view_.SetImage(TwoByOne());
    EXPECT_EQ(view_.PictureRect(), QRect(99, 49, 2, 1));
    const QImage shot = view_.grab().toImage();
    EXPECT_EQ(shot.pixelColor(99, 49), kLeft);
    EXPECT_EQ(shot.pixelColor(100, 49), kRight);
    EXPECT_EQ(shot.pixelColor(98, 49), kBackground);
    EXPECT_EQ(shot.pixelColor(99, 50), kBackground);
}

TEST(PictureViewShape, NewIs150SquareAndRoundClipsToTheEllipse) {
    PictureView view;
    EXPECT_EQ(view.size(), QSize(150, 150));
    view.SetRound(true);
    EXPECT_TRUE(view.mask().contains(QPoint(75, 75)));
    EXPECT_FALSE(view.mask().contains(QPoint(2, 2)));
    view.SetRound(false);
    EXPECT_TRUE(view.mask().isEmpty());
}

TEST_F(PictureViewTest, TransparentLeavesOutTheBottomLeftColour) {
    view_.SetImage(TwoByOne());
    view_.SetTransparent(true);
    QImage shot = view_.grab().toImage();
    EXPECT_EQ(shot.pixelColor(99, 49), kBackground);  // red, the bottom-left colour
    EXPECT_EQ(shot.pixelColor(100, 49), kRight);
    view_.SetTransparent(false);
    shot = view_.grab().toImage();
    EXPECT_EQ(shot.pixelColor(99, 49), kLeft);
}

TEST(PictureRectTest, PlacesThePictureByTheOptions) {
    const QSize area(200, 100);
    // stretch, proportional, centre
    EXPECT_EQ(PictureView::PictureRectFor({2, 1}, area, true, false, false), QRect(0, 0, 200, 100));
    EXPECT_EQ(PictureView::PictureRectFor({50, 100}, area, true, true, true),
              QRect(75, 0, 50, 100));
    EXPECT_EQ(PictureView::PictureRectFor({50, 100}, area, true, true, false),
              QRect(0, 0, 50, 100));
    // A large picture is scaled down by proportional alone, keeping its aspect ratio.
    EXPECT_EQ(PictureView::PictureRectFor({1000, 1000}, area, false, true, true),
              QRect(50, 0, 100, 100));
    EXPECT_EQ(PictureView::PictureRectFor({800, 100}, area, false, true, true),
              QRect(0, 37, 200, 25));
    // Neither: its own size, cut off when larger; centring truncates towards zero.
    EXPECT_EQ(PictureView::PictureRectFor({300, 101}, area, false, false, true),
              QRect(-50, 0, 300, 101));
    EXPECT_EQ(PictureView::PictureRectFor({3, 3}, area, false, false, false), QRect(0, 0, 3, 3));
    EXPECT_TRUE(PictureView::PictureRectFor({0, 0}, area, true, true, true).isEmpty());
    EXPECT_TRUE(PictureView::PictureRectFor({5, 5}, {0, 0}, true, true, true).isEmpty());
}

TEST_F(PictureViewTest, BitmapRowsAreReadWithTheirPadding) {
    Bitmap24 bitmap(3, 2);  // 9 bytes a row, padded to 12
    ASSERT_EQ(bitmap.Stride(), 12u);
    bitmap.Fill(10, 20, 30);
    std::uint8_t* last = bitmap.Row(1) + 2 * 3;
    last[0] = 200;  // blue
    last[1] = 100;  // green
    last[2] = 50;   // red
    view_.SetBitmap(bitmap);
    // The bitmap can go while its copy is shown.
    bitmap.Resize(1, 1);
    const QImage& image = view_.Image();
    ASSERT_EQ(image.size(), QSize(3, 2));
    EXPECT_EQ(image.pixelColor(0, 0), QColor(30, 20, 10));
    EXPECT_EQ(image.pixelColor(2, 1), QColor(50, 100, 200));
    EXPECT_EQ(image.pixelColor(0, 1), QColor(30, 20, 10));

    view_.SetBitmap(Bitmap24());
    EXPECT_FALSE(view_.HasPicture());
}

TEST_F(PictureViewTest, ClickNamesTheButtonReleasedOverThePicture) {
    std::vector<Qt::MouseButton> clicks;
    QObject::connect(&view_, &PictureView::clicked,
                     [&clicks](Qt::MouseButton button) { clicks.push_back(button); });
    const auto send = [this](QEvent::Type type, Qt::MouseButton button, QPointF at) {
        QMouseEvent event(type, at, view_.mapToGlobal(at), button,
                          type == QEvent::MouseButtonPress ? button : Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(&view_, &event);
    };
    send(QEvent::MouseButtonPress, Qt::RightButton, {10, 10});
    send(QEvent::MouseButtonRelease, Qt::RightButton, {12, 10});
    // Pressed on the picture but released outside it: no click.
    send(QEvent::MouseButtonPress, Qt::LeftButton, {10, 10});
    send(QEvent::MouseButtonRelease, Qt::LeftButton, {500, 10});
    EXPECT_EQ(clicks, std::vector<Qt::MouseButton>{Qt::RightButton});
}

}  // namespace
}  // namespace kobrix
