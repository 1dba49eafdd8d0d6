#include "app/full_size_window.h"

#include <QScrollArea>
#include <QScrollBar>

#include <gtest/gtest.h>

#include "app/picture_view.h"
#include "tests/app/window_test_support.h"

namespace kobrix {
namespace {

class FullSizeWindowTest : public ::testing::Test {
protected:
    testing::WindowPlatform fakes;
    FullSizeWindow window{fakes.platform};
    int magnify = 0;

    FullSizeWindowTest() {
        QObject::connect(&window, &FullSizeWindow::magnifyRequested, [this] { ++magnify; });
    }
    PictureView& Picture() { return *window.Picture(); }
    QImage Sample(int width, int height) {
        const Bitmap24 bitmap = testing::SamplePicture(width, height);
        return QImage(bitmap.Data(), width, height, static_cast<qsizetype>(bitmap.Stride()),
                      QImage::Format_BGR888)
            .copy();
    }
};

TEST_F(FullSizeWindowTest, ShowsThePictureUnscaledOnAMaximisedWindowOnTop) {
    EXPECT_EQ(window.objectName(), "FullSizeUnit200716");
    EXPECT_EQ(window.windowTitle(), "Full size image");
    window.ShowPicture(Sample(320, 200));
    QApplication::processEvents();
    fprintf(stderr, "window %d x %d\n", window.width(), window.height());
    EXPECT_TRUE(window.isVisible());
    EXPECT_TRUE(window.windowState() & Qt::WindowMaximized);
    EXPECT_TRUE(window.windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_EQ(Picture().size(), QSize(320, 200));
    EXPECT_EQ(Picture().PictureRect(), QRect(0, 0, 320, 200));
    EXPECT_EQ(Picture().toolTip(), "RIGHT click to Magnify LEFT Click to CLOSE");

    // Centred in the window.
    const QRect shown(Picture().mapTo(&window, QPoint(0, 0)), Picture().size());
    EXPECT_NEAR(shown.center().x(), window.rect().center().x(), 1);
    EXPECT_NEAR(shown.center().y(), window.rect().center().y(), 1);
    testing::SaveScreenshot(window, "full_size_window.png");
}

TEST_F(FullSizeWindowTest, PictureLargerThanTheWindowScrolls) {
    window.ShowPicture(Sample(3000, 2000));
    EXPECT_EQ(Picture().size(), QSize(3000, 2000));
    auto* scroll = window.findChild<QScrollArea*>();
    ASSERT_NE(scroll, nullptr);
    EXPECT_GT(scroll->horizontalScrollBar()->maximum(), 0);
    EXPECT_GT(scroll->verticalScrollBar()->maximum(), 0);

    // A smaller picture afterwards takes its own size again.
    window.ShowPicture(Sample(100, 50));
    EXPECT_EQ(Picture().size(), QSize(100, 50));
}

TEST_F(FullSizeWindowTest, MouseButtons) {
    window.ShowPicture(Sample(200, 100));

    testing::Click(Picture(), Qt::MiddleButton);
    EXPECT_EQ(Picture().toolTip(), "MIDDLE");
    EXPECT_TRUE(window.isVisible());
    EXPECT_EQ(magnify, 0);

    testing::Click(Picture(), Qt::RightButton);
    EXPECT_EQ(Picture().toolTip(), "RIGHT click to Magnify LEFT Click to CLOSE");
    EXPECT_TRUE(window.isVisible());
    EXPECT_EQ(magnify, 1);

    testing::Click(Picture(), Qt::MiddleButton);
    testing::Click(Picture(), Qt::LeftButton);
    EXPECT_EQ(Picture().toolTip(), "RIGHT click to Magnify LEFT Click to CLOSE");
    EXPECT_FALSE(window.isVisible());
    EXPECT_EQ(magnify, 1);
}

}  // namespace
}  // namespace kobrix
