#include "platform/DateTime.h"

#include <chrono>
#include <cmath>

namespace movra {
namespace {

// Days from 1970-01-01 of a proleptic Gregorian date (H. Hinnant's algorithm).
long long DaysFromCivil(int y, int m, int d) {
  y -= m <= 2;
  const long long era = (y >= 0 ? y : y - 399) / 400;
  const unsigned yoe = static_cast<unsigned>(y - era * 400);
  const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + static_cast<long long>(doe) - 719468;
}

void CivilFromDays(long long z, int& y, int& m, int& d) {
  z += 719468;
  const long long era = (z >= 0 ? z : z - 146096) / 146097;
  const unsigned doe = static_cast<unsigned>(z - era * 146097);
  const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const long long yy = static_cast<long long>(yoe) + era * 400;
  const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const unsigned mp = (5 * doy + 2) / 153;
  d = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
  m = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
  y = static_cast<int>(yy + (m <= 2));
}

constexpr long long kEpochOffset = 25569;  // days from 1899-12-30 to 1970-01-01

bool IsLeap(int y) { return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0; }

int DaysInMonth(int y, int m) {
  static const int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return m == 2 && IsLeap(y) ? 29 : kDays[m - 1];
}

// Reads an unsigned decimal number of 1 to max_digits digits at pos.
bool ReadNumber(std::string_view s, size_t& pos, int max_digits, int& value) {
  size_t start = pos;
  value = 0;
  while (pos < s.size() && s[pos] >= '0' && s[pos] <= '9' && pos - start < static_cast<size_t>(max_digits)) {
    value = value * 10 + (s[pos] - '0');
    ++pos;
  }
  return pos > start && !(pos < s.size() && s[pos] >= '0' && s[pos] <= '9');
}

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

}  // namespace

DateTime EncodeDateTime(const DateTimeParts& p) {
  const long long days = DaysFromCivil(p.year, p.month, p.day) + kEpochOffset;
  const double time = (p.hour * 3600.0 + p.minute * 60.0 + p.second) / 86400.0;
  // Before the epoch the fraction still counts forward from midnight of that day.
  return days >= 0 ? static_cast<double>(days) + time : static_cast<double>(days) - time;
}

DateTimeParts DecodeDateTime(DateTime value) {
  double whole = std::trunc(value);
  double fraction = std::fabs(value - whole);
  long long seconds = std::llround(fraction * 86400.0);
  long long days = static_cast<long long>(whole);
  if (seconds >= 86400) {
    seconds -= 86400;
    days += value >= 0 ? 1 : -1;
  }
  DateTimeParts p;
  CivilFromDays(days - kEpochOffset, p.year, p.month, p.day);
  p.hour = static_cast<int>(seconds / 3600);
  p.minute = static_cast<int>(seconds / 60 % 60);
  p.second = static_cast<int>(seconds % 60);
  return p;
}

DateTime DateTimeFromTimeT(std::time_t t) {
  const std::tm tm = LocalTimeOf(t).value_or(std::tm{});
  return EncodeDateTime({tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday, tm.tm_hour, tm.tm_min, tm.tm_sec});
}

std::int64_t CalendarSeconds(DateTime value) {
  const DateTimeParts p = DecodeDateTime(value);
  return DaysFromCivil(p.year, p.month, p.day) * 86400 + p.hour * 3600 + p.minute * 60 + p.second;
}

DateTime Now() { return DateTimeFromTimeT(std::time(nullptr)); }

std::string DateTimeToText(DateTime value) {
  const DateTimeParts p = DecodeDateTime(value);
  char buffer[64];
  int n = std::snprintf(buffer, sizeof buffer, "%d/%d/%d", p.year, p.month, p.day);
  if (p.hour != 0 || p.minute != 0 || p.second != 0)
    n += std::snprintf(buffer + n, sizeof buffer - n, " %d:%02d:%02d", p.hour, p.minute, p.second);
  return std::string(buffer, static_cast<size_t>(n));
}

std::optional<DateTime> TryTextToDateTime(std::string_view s) {
  size_t pos = 0;
  while (pos < s.size() && IsBlank(s[pos])) ++pos;
  DateTimeParts p;
  if (!ReadNumber(s, pos, 4, p.year)) return std::nullopt;
  if (pos >= s.size() || (s[pos] != '/' && s[pos] != '-')) return std::nullopt;
  const char separator = s[pos++];
  if (!ReadNumber(s, pos, 2, p.month)) return std::nullopt;
  if (pos >= s.size() || s[pos] != separator) return std::nullopt;
  ++pos;
  if (!ReadNumber(s, pos, 2, p.day)) return std::nullopt;
  if (p.year < 100 || p.month < 1 || p.month > 12 || p.day < 1 || p.day > DaysInMonth(p.year, p.month))
    return std::nullopt;
  size_t after_date = pos;
  while (pos < s.size() && IsBlank(s[pos])) ++pos;
  if (pos < s.size()) {
    if (pos == after_date) return std::nullopt;  // the time must be set apart by a blank
    if (!ReadNumber(s, pos, 2, p.hour)) return std::nullopt;
    if (pos >= s.size() || s[pos] != ':') return std::nullopt;
    ++pos;
    if (!ReadNumber(s, pos, 2, p.minute)) return std::nullopt;
    if (pos < s.size() && s[pos] == ':') {
      ++pos;
      if (!ReadNumber(s, pos, 2, p.second)) return std::nullopt;
    }
    while (pos < s.size() && IsBlank(s[pos])) ++pos;
    if (pos != s.size()) return std::nullopt;
    if (p.hour > 23 || p.minute > 59 || p.second > 59) return std::nullopt;
  }
  return EncodeDateTime(p);
}

DateTime TextToDateTime(std::string_view text) {
  if (auto value = TryTextToDateTime(text)) return *value;
  throw ConversionError("'" + std::string(text) + "' is not a valid date and time");
}

}  // namespace movra
