// Check boxes and radio buttons as a person sees them, in the palettes the windows give them.
#include <QCheckBox>
#include <QRadioButton>
#include <QSignalBlocker>

#include <gtest/gtest.h>

#include "colour/colour_processor_window.h"
#include "tests/support/window_fixture.h"
#include "tools/magnifier_window.h"
#include "tools/tagging_window.h"

namespace kobrix {
namespace {

// The button painted unchecked and checked; it is left as it was.
std::pair<QImage, QImage> BothStates(QAbstractButton& button) {
    const QSignalBlocker quiet(button);  // the look only, not the button's action
    const bool was = button.isChecked();
    const bool exclusive = button.autoExclusive();
    button.setAutoExclusive(false);  // a radio button may be unchecked for the picture
    button.setChecked(false);
    const QImage off = testing::Rendered(button);
    button.setChecked(true);
    const QImage on = testing::Rendered(button);
    button.setChecked(was);
    button.setAutoExclusive(exclusive);
    return {off, on};
}

class CheckMarksTest : public testing::WindowsTest {};

TEST_F(CheckMarksTest, CheckedBoxesAndRadioButtonsShowTheirMarkInColouredWindows) {
    OpenAll();
    struct Case {
        QWidget& window;
        const char* button;
    };
    const Case cases[] = {
        {windows->Magnifier(), "Stretch"},         {windows->Magnifier(), "Cursor"},
        {windows->Magnifier(), "Slideshow"},       {windows->Magnifier(), "BrightnessRecording"},
        {windows->Magnifier(), "Circle"},          {windows->Tagging(), "Mer12"},
        {windows->Tagging(), "EarthDate"},         {windows->Tagging(), "BottomLeft"},
        {windows->ColourProcessor(), "CheckBox1"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.button);
        auto* button = c.window.findChild<QAbstractButton*>(c.button);
        ASSERT_NE(button, nullptr);
        const auto [off, on] = BothStates(*button);
        // A mark a person sees: a few dozen pixels that stand out, not a faint grey.
        EXPECT_GE(testing::PixelsApart(off, on), 12);
    }
}

TEST_F(CheckMarksTest, EveryEnabledBoxOfEveryWindowShowsItsMark) {
    OpenAll();
    for (QWidget* window : windows->All()) {
        for (QAbstractButton* button : window->findChildren<QAbstractButton*>()) {
            if (!button->isCheckable() || !button->isEnabled()) continue;
            if (!qobject_cast<QCheckBox*>(button) && !qobject_cast<QRadioButton*>(button)) {
                continue;
            }
            SCOPED_TRACE(window->objectName().toStdString() + " " +
                         button->objectName().toStdString() + " " + button->text().toStdString());
            const auto [off, on] = BothStates(*button);
            EXPECT_GE(testing::PixelsApart(off, on), 12);
        }
    }
}

}  // namespace
}  // namespace kobrix
