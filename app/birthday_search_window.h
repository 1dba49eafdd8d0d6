#pragma once

#include <QTimer>
#include <QWidget>

#include "browse/birthday_search.h"
#include "platform/platform.h"

class QCalendarWidget;
class QLabel;
class QListWidget;
class QPushButton;

namespace kobrix {

class MainWindow;

// "My Birthday Searcher": walks the main window's file list until an image taken on the chosen
// day of the year is found, in whatever year the image was taken. Controls by object name:
// Label1 the month prompt, ListBox1 the months, Label2 the month caption, MonthCalendar1 the
// calendar, Label3 the day caption, Label4 the year caption between Label5 "Searching" and
// Label6 "For images taken on,", Label7 the camera caption, Label8 the message line, Label9 and
// Label10 the two date captions, Button1 "Search for My Birthday", Button2 "STOP", Button3
// "Close", Button4 "Continue searching for more Birthday images.".
class BirthdaySearchWindow : public QWidget {
    Q_OBJECT
  public:
    explicit BirthdaySearchWindow(Platform& platform, QWidget* parent = nullptr);

    // The main window whose file list the search walks.
    void Attach(MainWindow& main) { main_ = &main; }

    // "My Birthday Search Tool": the search year back to 2004, then the window shows.
    void OpenFromMenu();
    // The end of the directory reached with looping off.
    void StopTimer();

    void ListBox1Click(int row);  // a month chosen
    void MonthCalendar1Change();  // the calendar's day
    void Button1Click();          // Search for My Birthday
    void Button2Click();          // STOP
    void Button3Click();          // Close
    void Button4Click();          // Continue searching for more Birthday images.
    void Timer1Timer();           // one search step

    QTimer& SearchTimer() { return timer1_; }
    const BirthdaySearch& Search() const { return search_; }

  private:
    void ShowView();

    Platform& platform_;
    MainWindow* main_ = nullptr;
    BirthdaySearch search_;
    QListWidget* months_ = nullptr;
    QCalendarWidget* calendar_ = nullptr;
    QLabel* monthCaption_ = nullptr;
    QLabel* dayCaption_ = nullptr;
    QLabel* yearCaption_ = nullptr;
    QLabel* cameraCaption_ = nullptr;
    QLabel* message_ = nullptr;
    QLabel* date1_ = nullptr;
    QLabel* date2_ = nullptr;
    QPushButton* continue_ = nullptr;
    QTimer timer1_;
    bool stepping_ = false;
    bool stoppedDuringStep_ = false;
};

}  // namespace kobrix
