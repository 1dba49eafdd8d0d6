#include "decode/date_time.h"

#include <gtest/gtest.h>

namespace kobrix {
namespace {

TEST(DateTime, DaysCountFrom1899December30) {
    EXPECT_EQ(EncodeDateTime(1899, 12, 30), 0.0);
    EXPECT_EQ(EncodeDateTime(1900, 1, 1), 2.0);
    EXPECT_EQ(EncodeDateTime(2000, 1, 1), 36526.0);
    EXPECT_EQ(EncodeDateTime(1970, 1, 1), static_cast<double>(kUnixEpochDays));
    EXPECT_DOUBLE_EQ(EncodeDateTime(2000, 1, 1, 12), 36526.5);
}

TEST(DateTime, CalendarFieldsRoundTrip) {
    for (int year : {1899, 1900, 1999, 2000, 2004, 2100, 2400}) {
        for (int month = 1; month <= 12; ++month) {
            for (int day : {1, 28}) {
                const CivilTime t =
                    DecodeDateTime(EncodeDateTime(year, month, day, 23, 59, 58, 999));
                EXPECT_EQ(t.year, year);
                EXPECT_EQ(t.month, month);
                EXPECT_EQ(t.day, day);
                EXPECT_EQ(t.hour, 23);
                EXPECT_EQ(t.minute, 59);
                EXPECT_EQ(t.second, 58);
                EXPECT_EQ(t.millisecond, 999);
            }
        }
    }
    EXPECT_EQ(DecodeDateTime(EncodeDateTime(2004, 2, 29)).day, 29);
    EXPECT_EQ(DecodeDateTime(EncodeDateTime(2000, 2, 29)).month, 2);
}

TEST(DateTime, FormatDropsFractionsAndPadsTheClock) {
    EXPECT_EQ(FormatEarthTime(EncodeDateTime(2007, 8, 5, 3, 4, 5, 999)),
              "Sunday Aug 5 2007 03:04:05");
    EXPECT_EQ(FormatEarthTime(EncodeDateTime(1899, 12, 30)), "Saturday Dec 30 1899 00:00:00");
    // Just below midnight rounds to the millisecond first, as the calendar split does.
    EXPECT_EQ(FormatEarthTime(36526.0 - 1e-10), "Saturday Jan 1 2000 00:00:00");
}

TEST(DateTime, NamesComeFromTheGivenTables) {
    DateNames german = DateNames::English();
    german.days[6] = "Samstag";
    german.months[7] = "Aug";
    EXPECT_EQ(FormatEarthTime(EncodeDateTime(2007, 8, 25, 15, 47, 50), german),
              "Samstag Aug 25 2007 15:47:50");
}

}  // namespace
}  // namespace kobrix
