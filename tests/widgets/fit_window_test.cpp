#include "widgets/fit_window.h"

#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>
#include <QWidget>

#include <gtest/gtest.h>

#include "tests/support/fake_desktop.h"

namespace kobrix {
namespace {

// A window laid out for 800 x 600: two labels side by side, a fixed-size picture area and a
// group box with a caption of its own inside, all 8 point.
class FitWindowTest : public ::testing::Test {
  protected:
    FitWindowTest() {
        window_.resize(400, 300);
        QFont font = window_.font();
        font.setPointSize(8);
        left_ = AddLabel({10, 20, 100, 20}, font);
        right_ = AddLabel({110, 20, 100, 20}, font);  // touches left_
        picture_ = new QWidget(&window_);
        picture_->setFixedSize(150, 150);
        picture_->move(10, 50);
        group_ = new QGroupBox("Group", &window_);
        group_->setGeometry(200, 100, 180, 180);
        group_->setFont(font);
        inner_ = new QLabel("inner", group_);
        inner_->setGeometry(10, 30, 100, 20);
        QFont own = font;
        own.setPointSize(10);
        own_ = new QLabel("own font", group_);
        own_->setGeometry(10, 60, 100, 20);
        own_->setFont(own);
    }

    QLabel* AddLabel(QRect geometry, const QFont& font) {
        auto* label = new QLabel("text", &window_);
        label->setGeometry(geometry);
        label->setFont(font);
        return label;
    }

    FitPlan Fit(FitSteps steps = FitSteps::All, const QList<QWidget*>& others = {}) {
        return FitWindowToScreen(window_, desktop_, steps, others);
    }

    testing::FakeDesktop desktop_;
    QWidget window_;
    QLabel* left_;
    QLabel* right_;
    QWidget* picture_;
    QGroupBox* group_;
    QLabel* inner_;
    QLabel* own_;
};

TEST_F(FitWindowTest, Width1024WidensEverythingAndKeepsFonts) {
    desktop_.screen = {1024, 768};
    Fit();
    EXPECT_EQ(window_.size(), QSize(512, 384));
    // Edges scale by 1.28: 10 -> 13, 110 -> 141, 210 -> 269; the labels still touch.
    EXPECT_EQ(left_->geometry(), QRect(13, 26, 128, 25));
    EXPECT_EQ(right_->geometry().left(), left_->geometry().right() + 1);
    EXPECT_EQ(picture_->size(), QSize(192, 192));
    EXPECT_EQ(inner_->geometry(), QRect(13, 38, 128, 26));  // inside the group box too
    EXPECT_EQ(left_->font().pointSize(), 8);
    EXPECT_EQ(inner_->font().pointSize(), 8);
}

TEST_F(FitWindowTest, Width1600DoublesTheDirectChildrensFonts) {
    desktop_.screen = {1600, 1200};
    Fit();
    EXPECT_EQ(window_.size(), QSize(800, 600));
    EXPECT_EQ(picture_->size(), QSize(300, 300));
    EXPECT_EQ(left_->font().pointSize(), 16);
    EXPECT_EQ(group_->font().pointSize(), 16);
    // A control inside a direct child follows its parent's font unless it has its own.
    EXPECT_EQ(inner_->font().pointSize(), 16);
    EXPECT_EQ(own_->font().pointSize(), 10);
}

TEST_F(FitWindowTest, SkippedStepsLeaveTheirPartAlone) {
    desktop_.screen = {1600, 1200};
    Fit(FitSteps::WithoutFont);
    EXPECT_EQ(window_.size(), QSize(800, 600));
    EXPECT_EQ(left_->font().pointSize(), 8);

    desktop_.ppi = 120;
    Fit(FitSteps::None);
    EXPECT_EQ(window_.size(), QSize(800, 600));
    EXPECT_EQ(left_->geometry(), QRect(20, 40, 200, 40));
}

TEST_F(FitWindowTest, HighPpiShrinksFirst) {
    desktop_.screen = {1024, 768};
    desktop_.ppi = 120;
    Fit();
    EXPECT_EQ(window_.size(), QSize(409, 307));
    // 0.8 then 1.28: x 10 -> 8 -> 10, right edge 110 -> 88 -> 113.
    EXPECT_EQ(left_->geometry().left(), 10);
    EXPECT_EQ(left_->geometry().right() + 1, 113);
    EXPECT_EQ(picture_->size(), QSize(154, 154));  // 150 -> 120 -> 153.6
    EXPECT_EQ(left_->font().pointSize(), 8);
}

TEST_F(FitWindowTest, WideScreenKeepsTheControlsInsideTheWindow) {
    desktop_.screen = {1920, 1080};
    Fit();
    EXPECT_EQ(window_.size(), QSize(960, 540));
    EXPECT_LE(group_->geometry().bottom(), window_.height());
    EXPECT_LE(group_->geometry().right(), window_.width());
    EXPECT_EQ(left_->font().pointSize(), 8);
}

TEST_F(FitWindowTest, ClampsThisAndEveryExistingWindow) {
    desktop_.screen = {800, 600};
    window_.resize(790, 700);
    QWidget other;
    other.resize(1000, 500);
    other.setMinimumSize(900, 400);  // a minimum never holds a window off the screen
    QWidget small;
    small.resize(200, 100);
    Fit(FitSteps::All, {&window_, &other, &small});
    EXPECT_EQ(window_.size(), QSize(790, 600));
    EXPECT_EQ(left_->font().pointSize(), 8);
    EXPECT_EQ(other.size(), QSize(800, 500));
    EXPECT_EQ(small.size(), QSize(200, 100));
}

TEST(FitWindowLayoutTest, ControlsInALayoutAreLeftToIt) {
    testing::FakeDesktop desktop;
    desktop.screen = {1600, 1200};
    QWidget window;
    auto* layout = new QVBoxLayout(&window);
    auto* button = new QPushButton("Close");
    layout->addWidget(button);
    window.resize(200, 100);
    const int pointSize = button->font().pointSize();
    FitWindowToScreen(window, desktop, FitSteps::All, {});
    EXPECT_EQ(window.size(), QSize(400, 200));
    EXPECT_EQ(button->font().pointSize(), pointSize * 2);
}

}  // namespace
}  // namespace kobrix
