#include <cerrno>
#include <ctime>

#include "platform/DateTime.h"

namespace movra {

std::optional<std::tm> LocalTimeOf(std::time_t t) {
  std::tm tm{};
  if (::localtime_s(&tm, &t) != 0) return std::nullopt;
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
  const std::time_t t = std::mktime(&tm);
  // The C runtime expresses no moment before 1970 and answers -1 for it.
  if (t == static_cast<std::time_t>(-1)) return std::nullopt;
  return t;
}

}  // namespace movra
