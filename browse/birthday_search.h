#pragma once

#include <array>
#include <functional>
#include <string>

#include "decode/date_time.h"

namespace kobrix {

class Browser;

// A date in the computer's short date format; the window passes the locale's.
using ShortDateFormat = std::function<std::string(int year, int month, int day)>;

// What the window shows of the search, as the latest step or choice left it.
struct BirthdaySearchView {
    std::string monthCaption = "Month";
    std::string dayCaption = "Date";
    std::string yearCaption = "2004";
    std::string cameraCaption = "Camera";
    std::string message = "Message";
    std::string date1 = "Date1";  // the checked capture date
    std::string date2 = "Date2";  // the target date
    bool calendarVisible = false;
    bool continueVisible = false;  // "Continue searching for more Birthday images."
};

struct BirthdayStepResult {
    enum class Outcome { Moved, Found, Refused };
    Outcome outcome = Outcome::Moved;
    bool stopTimer = false;
    bool beep = false;
    std::string warning;  // a refused step: why
};

// The birthday search: walks the main window's file list forward, one display pass a step,
// until an image was taken on the chosen day of the year in the image's own year. It stops one
// step after that image was checked, so the image on display then is the one after it.
class BirthdaySearch {
  public:
    explicit BirthdaySearch(ShortDateFormat shortDate);

    static const std::array<const char*, 12>& MonthNames();  // "January" to "December"

    // "My Birthday Search Tool".
    void ResetYear() { searchYear_ = 2004; }
    // A month of the list (1 to 12): its name in the month caption, and the calendar shows.
    void ChooseMonth(int month);
    // The calendar's day (1 to 31).
    void ChooseDay(int day);

    // One step of the timer.
    BirthdayStepResult Step(Browser& browser);
    // "Continue searching for more Birthday images.": on to the next image; the caller starts
    // the timer.
    void Continue(Browser& browser);

    int SearchYear() const { return searchYear_; }
    int SearchMonth() const { return searchMonth_; }
    int SearchDay() const { return searchDay_; }
    DateTime CheckedCaptureTime() const { return checked_; }
    const BirthdaySearchView& View() const { return view_; }

    // The refusal of a day that no year has in the chosen month ("April" with 31).
    static std::string NoSuchDayText(int month, int day);
    // The target caption of a year without the day (February 29 in 2007).
    static std::string NotInYearText(int month, int day, int year);

  private:
    ShortDateFormat shortDate_;
    int searchYear_ = 2004;
    int searchMonth_ = 1;
    int searchDay_ = 1;
    DateTime checked_ = 0;
    DateTime target_ = 0;
    BirthdaySearchView view_;
};

}  // namespace kobrix
