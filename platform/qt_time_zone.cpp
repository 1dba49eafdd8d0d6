#include "platform/qt_time_zone.h"

#include <QDate>
#include <QDateTime>
#include <QLocale>
#include <QTimeZone>

namespace kobrix {

namespace {

// The system's zone. A TZ the zone database does not know is UTC to the C library, so it is
// here too: the program then shows "TimeZone UNKNOWN" and UTC, as the command line does,
// rather than failing every decode.
QTimeZone SystemZone(bool* known = nullptr) {
    const QTimeZone zone = QTimeZone::systemTimeZone();
    if (known != nullptr) *known = zone.isValid();
    return zone.isValid() ? zone : QTimeZone::utc();
}

}  // namespace

TimeZoneInfo QtTimeZone::ZoneAt(std::int64_t unixSeconds) {
    TimeZoneInfo info;
    bool known = false;
    const QTimeZone zone = SystemZone(&known);
    const QDateTime at = QDateTime::fromSecsSinceEpoch(unixSeconds, QTimeZone::utc());
    const int year = at.toTimeZone(zone).date().year();

    // Daylight saving in this year's rules: any month whose middle is in daylight time. The
    // offsets of the same instants tell this zone's rules from another's.
    bool observes = false;
    info.identity = zone.id().toStdString();
    for (int month = 1; month <= 12; ++month) {
        const QDateTime mid(QDate(year, month, 15), QTime(12, 0), QTimeZone::utc());
        observes = observes || zone.isDaylightTime(mid);
        info.identity += ' ';
        info.identity += std::to_string(zone.offsetFromUtc(mid));
    }
    if (!known) {
        info.state = TimeZoneInfo::State::NoDaylightSaving;
        return info;
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
    const QTimeZone zone = SystemZone();
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
