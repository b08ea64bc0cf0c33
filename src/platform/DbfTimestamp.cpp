#include "platform/DbfTimestamp.h"

#include <cmath>
#include <cstdio>

namespace tqz::dbf::timestamp {

namespace {

constexpr std::int64_t kMillisecondsPerDay = 86'400'000;
constexpr std::int64_t kJulianDayOfUnixEpoch = 2'440'588;
constexpr std::int64_t kUnixDayOfYearOne = -719'162;  // 0001-01-01
constexpr std::int64_t kUnixDayAfterYear9999 = 2'932'897;  // 10000-01-01

struct CivilDate {
    std::int64_t year = 0;
    unsigned month = 0;
    unsigned day = 0;
};

// Days since 1970-01-01 → proleptic Gregorian date (the well-known era-based algorithm).
CivilDate civilFromDays(std::int64_t days)
{
    days += 719'468;
    const std::int64_t era = (days >= 0 ? days : days - 146'096) / 146'097;
    const auto dayOfEra = static_cast<std::uint64_t>(days - era * 146'097);
    const std::uint64_t yearOfEra =
        (dayOfEra - dayOfEra / 1460 + dayOfEra / 36'524 - dayOfEra / 146'096) / 365;
    const std::uint64_t dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const std::uint64_t shiftedMonth = (5 * dayOfYear + 2) / 153;
    const auto day = static_cast<unsigned>(dayOfYear - (153 * shiftedMonth + 2) / 5 + 1);
    const auto month = static_cast<unsigned>(shiftedMonth < 10 ? shiftedMonth + 3 : shiftedMonth - 9);
    const std::int64_t year = static_cast<std::int64_t>(yearOfEra) + era * 400 + (month <= 2 ? 1 : 0);
    return {year, month, day};
}

std::optional<std::string> render(std::int64_t unixDays, std::int64_t milliseconds)
{
    if (unixDays < kUnixDayOfYearOne || unixDays >= kUnixDayAfterYear9999 || milliseconds < 0 ||
        milliseconds >= kMillisecondsPerDay) {
        return std::nullopt;
    }
    const CivilDate date = civilFromDays(unixDays);
    const std::int64_t seconds = milliseconds / 1000;
    char text[32];
    std::snprintf(text, sizeof text, "%04d%02u%02u %02d:%02d:%02d", static_cast<int>(date.year),
                  date.month, date.day, static_cast<int>(seconds / 3600),
                  static_cast<int>(seconds / 60 % 60), static_cast<int>(seconds % 60));
    return std::string(text);
}

} // namespace

std::optional<std::string> fromJulianDay(std::uint32_t julianDay, std::uint32_t milliseconds)
{
    return render(std::int64_t{julianDay} - kJulianDayOfUnixEpoch, std::int64_t{milliseconds});
}

std::optional<std::string> fromMilliseconds(double milliseconds)
{
    const double limit = static_cast<double>(kUnixDayAfterYear9999 - kUnixDayOfYearOne + 1) *
                         static_cast<double>(kMillisecondsPerDay);
    if (!std::isfinite(milliseconds) || milliseconds < 0 || milliseconds >= limit) {
        return std::nullopt;
    }
    const auto total = static_cast<std::int64_t>(milliseconds);
    const std::int64_t dayNumber = total / kMillisecondsPerDay;
    return render(dayNumber - 1 + kUnixDayOfYearOne, total % kMillisecondsPerDay);
}

} // namespace tqz::dbf::timestamp
