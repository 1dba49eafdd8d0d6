#include "app/birthday_search_window.h"

#include <QCalendarWidget>
#include <QLabel>
#include <QListWidget>
#include <QLocale>
#include <QPushButton>

#include "tests/app/search_window_fixture.h"
#include "tests/browse/sample_names.h"
#include "tests/support/window_fixture.h"

namespace kobrix {
namespace {

std::string Name(int y, int m, int d, int hour) {
    return testing::NameAt('2', 'P', y, m, d, hour);
}

class BirthdaySearchWindowTest : public testing::SearchWindowTest<BirthdaySearchWindow> {
  protected:
    QString Text(const char* label) { return Control<QLabel>(label).text(); }
    bool Shown(const char* name) { return window->findChild<QWidget*>(name)->isVisibleTo(window); }
    void ChooseBirthday(int monthRow, const QDate& onCalendar) {
        Control<QListWidget>("ListBox1").setCurrentRow(monthRow);
        Control<QCalendarWidget>("MonthCalendar1").setSelectedDate(onCalendar);
    }
};

TEST_F(BirthdaySearchWindowTest, FindsTheBirthdayAndContinues) {
    Open({Name(2007, 8, 24, 10), Name(2007, 8, 25, 8), Name(2007, 8, 25, 16), Name(2007, 8, 25, 20),
          Name(2007, 8, 26, 9)});
    EXPECT_EQ(window->windowTitle(), "My Birthday Searcher");
    EXPECT_EQ(window->objectName(), "BirthdayUnit200724");
    EXPECT_EQ(window->palette().color(QPalette::Window), QColor(Qt::yellow));
    const std::vector<std::pair<const char*, const char*>> initial = {
        {"Label2", "Month"},   {"Label3", "Date"},  {"Label4", "2004"},  {"Label7", "Camera"},
        {"Label8", "Message"}, {"Label9", "Date1"}, {"Label10", "Date2"}};
    for (const auto& [label, text] : initial) EXPECT_EQ(Text(label), text) << label;
    EXPECT_FALSE(Shown("MonthCalendar1"));
    EXPECT_FALSE(Shown("Button4"));

    ChooseBirthday(7, QDate(2006, 8, 25));
    EXPECT_EQ(Text("Label2"), "August");
    EXPECT_EQ(Text("Label3"), "25");
    EXPECT_TRUE(Shown("MonthCalendar1"));

    Control<QPushButton>("Button1").click();
    EXPECT_TRUE(window->SearchTimer().isActive());
    window->Timer1Timer();
    window->Timer1Timer();
    EXPECT_EQ(Text("Label8"), "Continuing with the Search.");
    testing::SaveScreenshot(*window, "birthday_search_window_searching.png");

    RunWhileTimerOn();
    EXPECT_EQ(Selected().toStdString(),
              Name(2007, 8, 25, 16));  // the one after the first August 25 image
    EXPECT_EQ(Text("Label8"), "Birthday Image Found.");
    EXPECT_EQ(Text("Label4"), "2007");
    EXPECT_EQ(Text("Label7"), "PANCAM Panoramic Camera");
    const QString birthday = QLocale().toString(QDate(2007, 8, 25), QLocale::ShortFormat);
    EXPECT_EQ(Text("Label9"), birthday);
    EXPECT_EQ(Text("Label10"), birthday);
    EXPECT_TRUE(Shown("Button4"));
    EXPECT_EQ(desktop.beeps, 1);
    testing::SaveScreenshot(*window, "birthday_search_window_found.png");

    Control<QPushButton>("Button4").click();
    EXPECT_EQ(Selected().toStdString(), Name(2007, 8, 25, 20));
    EXPECT_TRUE(window->SearchTimer().isActive());
    EXPECT_FALSE(Shown("Button4"));
    Control<QPushButton>("Button2").click();
    EXPECT_FALSE(window->SearchTimer().isActive());
    EXPECT_TRUE(prompts.log.empty());

    // The menu resets the year of the search, not the captions.
    window->OpenFromMenu();
    EXPECT_EQ(window->Search().SearchYear(), 2004);
    EXPECT_EQ(Text("Label4"), "2007");
}

TEST_F(BirthdaySearchWindowTest, DayTheMonthNeverHasIsRefused) {
    Open({Name(2007, 4, 29, 10), Name(2007, 4, 30, 10)});
    ChooseBirthday(3, QDate(2007, 3, 31));  // April, with the 31st of the calendar's March
    Control<QPushButton>("Button1").click();
    window->Timer1Timer();
    EXPECT_FALSE(window->SearchTimer().isActive());
    EXPECT_EQ(
        prompts.Texts("warning"),
        (std::vector<std::string>{
            "April has no day 31. Choose a day from 1 to 30 in the calendar and search again."}));
    EXPECT_EQ(Selected().toStdString(), Name(2007, 4, 29, 10));
    EXPECT_EQ(Text("Label9"), "Date1");
}

}  // namespace
}  // namespace kobrix
