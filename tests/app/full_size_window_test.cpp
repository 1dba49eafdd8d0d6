#include "app/full_size_window.h"

#include <QScrollArea>
#include <QScrollBar>

#include <gtest/gtest.h>

#include "tests/support/window_fixture.h"
#include "widgets/picture_view.h"

namespace kobrix {
namespace {

constexpr const char* kHint = "RIGHT click to Magnify LEFT Click to CLOSE";

class FullSizeWindowTest : public ::testing::Test {
  protected:
    testing::WindowPlatform fakes;
    FullSizeWindow window{fakes.platform};
    PictureView& picture = *window.Picture();
};

TEST_F(FullSizeWindowTest, ShowsThePictureUnscaledAndCentredOnAMaximisedWindowOnTop) {
    window.ShowPicture(testing::SampleImage(320, 200));
    QApplication::processEvents();  // the maximised geometry arrives as an event
    EXPECT_TRUE(window.windowState() & Qt::WindowMaximized);
    EXPECT_TRUE(window.windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_EQ(picture.PictureRect(), QRect(0, 0, 320, 200));
    EXPECT_EQ(picture.toolTip(), kHint);
    const QRect shown(picture.mapTo(&window, QPoint(0, 0)), picture.size());
    EXPECT_NEAR(shown.center().x(), window.rect().center().x(), 1);
    EXPECT_NEAR(shown.center().y(), window.rect().center().y(), 1);
    testing::SaveScreenshot(window, "full_size_window.png");

    // Larger than the screen: it scrolls; a smaller one afterwards takes its own size again.
    window.ShowPicture(testing::SampleImage(3000, 2000));
    auto* scroll = window.findChild<QScrollArea*>();
    EXPECT_EQ(picture.size(), QSize(3000, 2000));
    EXPECT_GT(scroll->horizontalScrollBar()->maximum(), 0);
    EXPECT_GT(scroll->verticalScrollBar()->maximum(), 0);
    window.ShowPicture(testing::SampleImage(100, 50));
    EXPECT_EQ(picture.size(), QSize(100, 50));
}

TEST_F(FullSizeWindowTest, MouseButtons) {
    int magnify = 0;
    QObject::connect(&window, &FullSizeWindow::magnifyRequested, [&] { ++magnify; });
    window.ShowPicture(testing::SampleImage(200, 100));

    testing::Click(picture, Qt::MiddleButton);
    EXPECT_EQ(picture.toolTip(), "MIDDLE");
    testing::Click(picture, Qt::RightButton);
    EXPECT_EQ(picture.toolTip(), kHint);
    EXPECT_EQ(magnify, 1);
    EXPECT_TRUE(window.isVisible());

    testing::Click(picture, Qt::MiddleButton);
    testing::Click(picture, Qt::LeftButton);
    EXPECT_EQ(picture.toolTip(), kHint);
    EXPECT_FALSE(window.isVisible());
    EXPECT_EQ(magnify, 1);
}

}  // namespace
}  // namespace kobrix
