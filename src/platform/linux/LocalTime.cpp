#include <cerrno>
#include <ctime>

#include "platform/DateTime.h"

namespace movra {

std::optional<std::tm> LocalTimeOf(std::time_t t) {
  std::tm tm{};
  if (!::localtime_r(&t, &tm)) return std::nullopt;
  return tm;
}

std::optional<std::time_t> TimeTOfLocal(const DateTimeParts& parts) {
  std::tm tm{};
  tm.tm_year = parts.year - 1900;
  tm.tm_mon = parts.month - 1;
  tm.tm_mday = parts.day;
  tm.tm_hour = parts.hour;
  tm.tm_min = parts.minute;
  tm.tm_sec = parts.second;
  tm.tm_isdst = -1;  // whatever the rules say for that day
  // -1 is also 1969-12-31 23:59:59 UTC; only errno tells the two apart.
  errno = 0;
  const std::time_t t = std::mktime(&tm);
  if (t == static_cast<std::time_t>(-1) && errno != 0) return std::nullopt;
  return t;
}

}  // namespace movra
