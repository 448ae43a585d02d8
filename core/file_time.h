#pragma once
// Times in FILETIME units: 100-nanosecond intervals since 1601-01-01 00:00. Bookmarks and listings
// keep this unit so that stored values keep their meaning across platforms.

#include <cstdint>
#include <optional>

namespace Quarlo::View {

inline constexpr int64_t kFileTimeTicksPerSecond = 10'000'000;

// A POSIX time (seconds and nanoseconds since 1970, UTC) as a FILETIME value.
int64_t FileTimeFromUnix(int64_t seconds, int64_t nanoseconds);

// Calendar fields taken as they are (no time-zone conversion). Nothing for values a calendar does
// not hold: years outside 1601..30827, month 0 or above 12, a day past the month's end, hour above
// 23, minute or second above 59.
std::optional<int64_t> FileTimeFromCalendar(int year, int month, int day, int hour, int minute, int second);

}  // namespace Quarlo::View
