#include "browse/birthday_search.h"

#include <utility>

#include "browse/browser.h"

namespace kobrix {
namespace {

bool IsLeapYear(int year) {
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int DaysInMonth(int year, int month) {
    static constexpr int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && IsLeapYear(year) ? 29 : kDays[month - 1];
}

// The most days the month has in any year.
int LongestMonth(int month) {
    return DaysInMonth(2000, month);
}

}  // namespace

BirthdaySearch::BirthdaySearch(ShortDateFormat shortDate) : shortDate_(std::move(shortDate)) {}

const std::array<const char*, 12>& BirthdaySearch::MonthNames() {
    static constexpr std::array<const char*, 12> kNames = {
        "January", "February", "March",     "April",   "May",      "June",
        "July",    "August",   "September", "October", "November", "December"};
    return kNames;
}

void BirthdaySearch::ChooseMonth(int month) {
    if (month < 1 || month > 12) return;
    searchMonth_ = month;
    view_.monthCaption = MonthNames()[static_cast<std::size_t>(month - 1)];
    view_.calendarVisible = true;
}

void BirthdaySearch::ChooseDay(int day) {
    if (day < 1 || day > 31) return;
    searchDay_ = day;
    view_.dayCaption = std::to_string(day);
}

std::string BirthdaySearch::NoSuchDayText(int month, int day) {
    const int longest = LongestMonth(month);
    return std::string(MonthNames()[static_cast<std::size_t>(month - 1)]) + " has no day " +
           std::to_string(day) + ". Choose a day from 1 to " + std::to_string(longest) +
           " in the calendar and search again.";
}

std::string BirthdaySearch::NotInYearText(int month, int day, int year) {
    return "No " + std::string(MonthNames()[static_cast<std::size_t>(month - 1)]) + " " +
           std::to_string(day) + " in " + std::to_string(year);
}

BirthdayStepResult BirthdaySearch::Step(Browser& browser) {
    BirthdayStepResult result;
    // A day the month never has cannot be searched for; nothing else changes.
    if (searchDay_ > LongestMonth(searchMonth_)) {
        result.outcome = BirthdayStepResult::Outcome::Refused;
        result.stopTimer = true;
        result.warning = NoSuchDayText(searchMonth_, searchDay_);
        return result;
    }

    // 1-3.
    const DecodeState& decoded = browser.Decoded();
    view_.cameraCaption = decoded.panel.camera;
    checked_ = decoded.times.ImageTimeUtc;
    const CivilTime checkedDate = DecodeDateTime(checked_);
    searchYear_ = checkedDate.year;
    // February 29 is only there in leap years; the other years have no birthday image.
    const bool targetExists = searchDay_ <= DaysInMonth(searchYear_, searchMonth_);
    if (targetExists) target_ = EncodeDateTime(searchYear_, searchMonth_, searchDay_);

    // 4. The captions are those of the previous step.
    if ((targetExists && checked_ == target_) || view_.date1 == view_.date2) {
        result.outcome = BirthdayStepResult::Outcome::Found;
        result.beep = true;
        result.stopTimer = true;
        view_.message = "Birthday Image Found.";
        view_.continueVisible = true;
        return result;
    }

    // 5.
    browser.Files().MoveNext();
    browser.Image();
    if (targetExists && target_ < checked_) view_.message = "Continuing with the Search.";
    view_.yearCaption = std::to_string(searchYear_);
    view_.date1 = shortDate_(checkedDate.year, checkedDate.month, checkedDate.day);
    view_.date2 = targetExists ? shortDate_(searchYear_, searchMonth_, searchDay_)
                               : NotInYearText(searchMonth_, searchDay_, searchYear_);
    // A list without pictures would warn at every step, with no way left to reach "STOP"; one
    // that ends in other files would start over from the top.
    if (browser.PassReachedEnd()) result.stopTimer = true;
    return result;
}

void BirthdaySearch::Continue(Browser& browser) {
    browser.Files().MoveNext();
    browser.Image();
    const CivilTime checkedDate = DecodeDateTime(checked_);
    view_.date1 = shortDate_(checkedDate.year, checkedDate.month, checkedDate.day);
    view_.continueVisible = false;
}

}  // namespace kobrix
