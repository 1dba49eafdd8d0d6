#include "platform/qt_time_zone.h"

#include <QDate>
#include <QDateTime>
#include <QLocale>
#include <QTimeZone>

namespace kobrix {

TimeZoneInfo QtTimeZone::ZoneAt(std::int64_t unixSeconds) {
    TimeZoneInfo info;
    const QTimeZone zone = QTimeZone::systemTimeZone();
    if (!zone.isValid()) return info;  // Failed
    const QDateTime at = QDateTime::fromSecsSinceEpoch(unixSeconds, QTimeZone::utc());
    const int year = at.toTimeZone(zone).date().year();

    // Daylight saving in this year's rules: any month whose middle is in daylight time.
    bool observes = false;
    for (int month = 1; month <= 12 && !observes; ++month) {
        const QDateTime mid(QDate(year, month, 15), QTime(12, 0), QTimeZone::utc());
        observes = zone.isDaylightTime(mid);
    }
    const QLocale locale = QLocale::system();
    info.standardName =
        zone.displayName(QTimeZone::StandardTime, QTimeZone::LongName, locale).toStdString();
    info.daylightName =
        zone.displayName(QTimeZone::DaylightTime, QTimeZone::LongName, locale).toStdString();
    if (!observes) {
        info.state = TimeZoneInfo::State::NoDaylightSaving;
    } else {
        info.state = zone.isDaylightTime(at) ? TimeZoneInfo::State::DaylightTime
                                             : TimeZoneInfo::State::StandardTime;
    }
    return info;
}

TimeZoneInfo QtTimeZone::CurrentZone() const {
    return ZoneAt(QDateTime::currentSecsSinceEpoch());
}

UtcOffset QtTimeZone::OffsetAt(std::int64_t unixSeconds) const {
    const QTimeZone zone = QTimeZone::systemTimeZone();
    if (!zone.isValid()) return UtcOffset{false, 0, "The system time zone is not valid."};
    const QDateTime at = QDateTime::fromSecsSinceEpoch(unixSeconds, QTimeZone::utc());
    return UtcOffset{true, zone.offsetFromUtc(at), {}};
}

DateNames QtLocaleDateNames() {
    DateNames names = DateNames::English();
    const QLocale locale = QLocale::system();
    // Qt counts days from Monday = 1 to Sunday = 7.
    for (int d = 0; d < 7; ++d) {
        names.days[static_cast<std::size_t>(d)] =
            locale.dayName(d == 0 ? 7 : d, QLocale::LongFormat).toStdString();
    }
    for (int m = 0; m < 12; ++m) {
        names.months[static_cast<std::size_t>(m)] =
            locale.monthName(m + 1, QLocale::ShortFormat).toStdString();
    }
    return names;
}

}  // namespace kobrix
