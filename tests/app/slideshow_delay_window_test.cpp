#include "app/slideshow_delay_window.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>

#include <gtest/gtest.h>

#include "tests/support/window_fixture.h"

namespace kobrix {
namespace {

class SlideshowDelayWindowTest : public ::testing::Test {
  protected:
    testing::WindowPlatform fakes;
    SlideshowDelayWindow window{fakes.platform};
    QLineEdit& edit = *window.findChild<QLineEdit*>("Edit1");
    std::vector<int> saved;

    SlideshowDelayWindowTest() {
        QObject::connect(&window, &SlideshowDelayWindow::delaySaved,
                         [this](int ms) { saved.push_back(ms); });
    }
    void Press(const char* button, const QString& text) {
        edit.setText(text);
        window.findChild<QPushButton*>(button)->click();
    }
    void Key(Qt::Key key) {
        QKeyEvent event(QEvent::KeyPress, key, Qt::NoModifier);
        QApplication::sendEvent(&edit, &event);
    }
};

TEST_F(SlideshowDelayWindowTest, SaveReportsTheDelayCancelDoesNot) {
    EXPECT_EQ(edit.text(), "2000");
    fakes.desktop.screen = {1024, 768};
    window.Open(750);
    EXPECT_EQ(edit.text(), "750");
    EXPECT_NEAR(window.frameGeometry().center().x(), 512, 1);
    testing::SaveScreenshot(window, "slideshow_delay_window.png");

    Press("Button1", "  +500 ");
    EXPECT_FALSE(window.isVisible());
    window.Open(500);
    Press("Button2", "100");
    EXPECT_FALSE(window.isVisible());
    window.Open(500);
    edit.setText("300");
    Key(Qt::Key_Return);  // Save is the default button
    window.Open(300);
    edit.setText("900");
    Key(Qt::Key_Escape);
    EXPECT_FALSE(window.isVisible());
    EXPECT_EQ(saved, (std::vector<int>{500, 300}));
    EXPECT_TRUE(fakes.prompts.log.empty());
}

// Zero or less would make the slideshow timer fire continuously and freeze the program.
TEST_F(SlideshowDelayWindowTest, RefusedTextIsAnErrorAndTheWindowStaysOpen) {
    window.Open(2000);
    for (const char* text : {"abc", "", "12.5", "+-3", "99999999999", "0", "-250"}) {
        Press("Button1", text);
        EXPECT_TRUE(window.isVisible()) << text;
        EXPECT_EQ(edit.text(), text);
    }
    EXPECT_TRUE(saved.empty());
    const std::string refusal = SlideshowDelayWindow::NotAPositiveDelayText().toStdString();
    EXPECT_EQ(fakes.prompts.Texts("error"),
              (std::vector<std::string>{
                  "'abc' is not a valid integer value", "'' is not a valid integer value",
                  "'12.5' is not a valid integer value", "'+-3' is not a valid integer value",
                  "'99999999999' is not a valid integer value", refusal, refusal}));
    Press("Button1", "1");
    EXPECT_EQ(saved, std::vector<int>{1});
}

}  // namespace
}  // namespace kobrix
