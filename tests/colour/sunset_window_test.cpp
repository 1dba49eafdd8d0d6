#include "colour/sunset_window.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <gtest/gtest.h>

#include "tests/support/window_fixture.h"
#include "widgets/picture_view.h"

namespace kobrix {
namespace {

class SunsetWindowTest : public ::testing::Test {
  protected:
    testing::WindowPlatform fakes;
    SunsetWindow window{fakes.platform};

    void SetDelay(const QString& text) { window.findChild<QLineEdit*>("Edit1")->setText(text); }
    bool NightTime() { return window.findChild<QLabel*>("Label3")->isVisibleTo(&window); }
    // One pixel (30, 200, 90) in a picture of one row, so the row filler bytes fade too.
    void Receive() {
        QImage picture(3, 1, QImage::Format_RGB888);
        picture.fill(QColor(30, 200, 90));
        window.Receive(picture, "/pics/a.jpg");
    }
    const std::uint8_t* Pixel() const { return window.Working().Row(0); }
};

TEST_F(SunsetWindowTest, FadeRunsToNightAndStartsAgainFromTheKeptPicture) {
    Receive();
    ASSERT_TRUE(window.isVisible());
    SetDelay("1000");
    std::vector<std::array<int, 3>> seen;
    fakes.desktop.onWait = [&](int) {
        const std::uint8_t* bgr = Pixel();
        seen.push_back({bgr[2], bgr[1], bgr[0]});
    };
    window.findChild<QPushButton*>("Button4")->click();
    ASSERT_EQ(fakes.desktop.waits.size(), 256u);
    EXPECT_EQ(fakes.desktop.waits.front(), 255);  // 1000 ms is held to 255
    EXPECT_EQ(seen[29], (std::array<int, 3>{0, 170, 60}));
    EXPECT_EQ(seen[199], (std::array<int, 3>{0, 0, 0}));
    EXPECT_TRUE(NightTime());
    const Bitmap24& black = window.Working();
    for (std::size_t i = 0; i < black.SizeBytes(); ++i) ASSERT_EQ(black.Data()[i], 0) << i;

    // Again: from the re-instated picture, not from black; a negative delay waits nothing.
    seen.clear();
    fakes.desktop.waits.clear();
    SetDelay("-5");
    window.Button4Click();
    EXPECT_EQ(seen.front(), (std::array<int, 3>{29, 199, 89}));
    EXPECT_EQ(fakes.desktop.waits.front(), 0);
}

TEST_F(SunsetWindowTest, NothingStartsLoadsOrChangesAFadeWhileItRuns) {
    Receive();
    QImage bright(3, 1, QImage::Format_RGB888);
    bright.fill(Qt::white);
    int nested = 0;
    fakes.desktop.onWait = [&](int) {
        // The wait lets other events run: the menu item again, the buttons, the delay box.
        if (fakes.desktop.waits.size() != 100) return;
        ++nested;
        EXPECT_FALSE(window.findChild<QLineEdit*>("Edit1")->isEnabled());
        window.Receive(bright, "/pics/white.jpg");
        window.Button4Click();
        window.Button5Click();
        fakes.prompts.fileChoices = {{true, "/pics/white.jpg", 1}};
        window.Button2Click();
    };
    window.findChild<QPushButton*>("Button4")->click();
    EXPECT_EQ(nested, 1);
    EXPECT_EQ(fakes.desktop.waits.size(), 256u);  // one fade, not two
    EXPECT_TRUE(NightTime());
    const Bitmap24& black = window.Working();
    for (std::size_t i = 0; i < black.SizeBytes(); ++i) ASSERT_EQ(black.Data()[i], 0) << i;
    EXPECT_TRUE(fakes.prompts.fileRequests.empty());  // "Open Image" did not open
    fakes.prompts.fileChoices.clear();
    EXPECT_TRUE(window.findChild<QLineEdit*>("Edit1")->isEnabled());

    // The picture handed over mid-fade did not replace the one faded.
    window.Button5Click();
    EXPECT_EQ(Pixel()[1], 200);
    window.Receive(bright, "/pics/white.jpg");  // after the fade it is taken as usual
    EXPECT_EQ(Pixel()[1], 255);
}

TEST_F(SunsetWindowTest, DelayThatIsNoNumberStopsAfterOnePass) {
    Receive();
    SetDelay("soon");
    window.findChild<QPushButton*>("Button4")->click();
    EXPECT_EQ(fakes.prompts.Texts("error"),
              (std::vector<std::string>{"'soon' is not a valid integer value"}));
    EXPECT_FALSE(NightTime());
    EXPECT_EQ(Pixel()[1], 199);  // one pass
    EXPECT_FALSE(window.Fading());
    EXPECT_TRUE(window.findChild<QPushButton*>("Button4")->isEnabled());

    window.Button5Click();  // Re-instate
    EXPECT_EQ(Pixel()[1], 200);
    EXPECT_EQ(window.findChild<PictureView*>("Image1")->Image().pixelColor(1, 0),
              QColor(30, 200, 90));
}

}  // namespace
}  // namespace kobrix
