#include "app/slideshow_delay_window.h"

#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <gtest/gtest.h>

#include "tests/app/window_test_support.h"

namespace kobrix {
namespace {

class SlideshowDelayWindowTest : public ::testing::Test {
protected:
    testing::WindowPlatform fakes;
    SlideshowDelayWindow window{fakes.platform};
    std::vector<int> saved;

    SlideshowDelayWindowTest() {
        QObject::connect(&window, &SlideshowDelayWindow::delaySaved,
                         [this](int ms) { saved.push_back(ms); });
    }
    QLineEdit& Edit() { return *window.findChild<QLineEdit*>("Edit1"); }
    QPushButton& Button(const char* name) { return *window.findChild<QPushButton*>(name); }
    void SaveText(const QString& text) {
        Edit().setText(text);
        Button("Button1").click();
    }
};

TEST_F(SlideshowDelayWindowTest, OpensWithTheCurrentDelay) {
    EXPECT_EQ(window.objectName(), "SlideshowDelayUnit200715");
    EXPECT_EQ(window.windowTitle(), "Slideshow Delay");
    EXPECT_EQ(Edit().text(), "2000");
    EXPECT_EQ(window.findChild<QLabel*>()->text(), "Enter New Delay in Milliseconds");
    EXPECT_EQ(Button("Button1").text(), "Save");
    EXPECT_EQ(Button("Button2").text(), "Cancel");

    window.Open(750);
    EXPECT_TRUE(window.isVisible());
    EXPECT_FALSE(window.isModal());
    EXPECT_EQ(Edit().text(), "750");
    EXPECT_TRUE(saved.empty());
}

TEST_F(SlideshowDelayWindowTest, SaveReportsAWholeNumberAndCloses) {
    window.Open(2000);
    SaveText("500");
    EXPECT_EQ(saved, std::vector<int>{500});
    EXPECT_FALSE(window.isVisible());

    window.Open(500);
    SaveText("  +1500 ");
    EXPECT_EQ(saved, (std::vector<int>{500, 1500}));
    EXPECT_TRUE(fakes.prompts.log.empty());
}

TEST_F(SlideshowDelayWindowTest, EnterSavesEscapeCancels) {
    window.Open(2000);
    Edit().setText("300");
    QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    QApplication::sendEvent(&Edit(), &enter);
    EXPECT_EQ(saved, std::vector<int>{300});
    EXPECT_FALSE(window.isVisible());

    window.Open(300);
    Edit().setText("900");
    QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QApplication::sendEvent(&Edit(), &escape);
    EXPECT_EQ(saved, std::vector<int>{300});
    EXPECT_FALSE(window.isVisible());
}

TEST_F(SlideshowDelayWindowTest, CancelClosesWithoutADelay) {
    window.Open(2000);
    Edit().setText("100");
    Button("Button2").click();
    EXPECT_FALSE(window.isVisible());
    EXPECT_TRUE(saved.empty());
    EXPECT_TRUE(fakes.prompts.log.empty());
}

TEST_F(SlideshowDelayWindowTest, TextThatIsNotAWholeNumberIsAnErrorAndStaysOpen) {
    window.Open(2000);
    for (const char* text : {"abc", "", "12.5", "2000ms", "+-3", "99999999999"}) {
        SaveText(text);
        EXPECT_TRUE(window.isVisible()) << text;
        EXPECT_EQ(Edit().text(), text);
    }
    EXPECT_TRUE(saved.empty());
    EXPECT_EQ(fakes.prompts.Texts("error"),
              (std::vector<std::string>{"'abc' is not a valid integer value",
                                        "'' is not a valid integer value",
                                        "'12.5' is not a valid integer value",
                                        "'2000ms' is not a valid integer value",
                                        "'+-3' is not a valid integer value",
                                        "'99999999999' is not a valid integer value"}));
}

// A timer without a delay would fire continuously and freeze the program.
TEST_F(SlideshowDelayWindowTest, DelayOfZeroOrLessIsRefused) {
    window.Open(2000);
    for (const char* text : {"0", "-0", "-250"}) {
        SaveText(text);
        EXPECT_TRUE(window.isVisible()) << text;
    }
    EXPECT_TRUE(saved.empty());
    const std::string refusal = SlideshowDelayWindow::NotAPositiveDelayText().toStdString();
    EXPECT_EQ(fakes.prompts.Texts("error"),
              (std::vector<std::string>{refusal, refusal, refusal}));

    SaveText("1");
    EXPECT_EQ(saved, std::vector<int>{1});
}

TEST_F(SlideshowDelayWindowTest, Screenshot) {
    fakes.desktop.screen = {1024, 768};
    window.Open(2000);
    EXPECT_NEAR(window.frameGeometry().center().x(), 512, 1);
    EXPECT_NEAR(window.frameGeometry().center().y(), 384, 1);
    testing::SaveScreenshot(window, "slideshow_delay_window.png");
}

}  // namespace
}  // namespace kobrix
