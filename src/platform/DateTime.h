// Date-time values: a double counting days since 30 December 1899, the
// fraction being the time of day, in local time. Texts follow the fixed
// zh-CN formats: short date yyyy/M/d, long time H:mm:ss.
#pragma once

#include <cstdint>
#include <ctime>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

namespace movra {

using DateTime = double;

// Thrown when a text is not a date-time (the one conversion error of the program).
class ConversionError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// The calendar fields of a date-time value.
struct DateTimeParts {
  int year = 1899, month = 12, day = 30;
  int hour = 0, minute = 0, second = 0;
};

// Fields to a value; no range checks beyond what the caller guarantees.
DateTime EncodeDateTime(const DateTimeParts& parts);

// A value to its fields, rounded to the nearest second.
DateTimeParts DecodeDateTime(DateTime value);

// A time_t taken as local time.
DateTime DateTimeFromTimeT(std::time_t t);

// The local calendar fields of t (the system's time zone rules); nullopt
// when the system cannot express t.
std::optional<std::tm> LocalTimeOf(std::time_t t);

// The moment (seconds since 1970-01-01 UTC) that local calendar fields name
// under the system's time zone rules; in an hour that a clock change skips
// or repeats, the system's choice. nullopt when the system cannot express it.
std::optional<std::time_t> TimeTOfLocal(const DateTimeParts& parts);

// The value's calendar fields (rounded to the second) counted as seconds
// since 1970-01-01 00:00:00, with no time zone applied.
std::int64_t CalendarSeconds(DateTime value);

// The current local date and time.
DateTime Now();

// "yyyy/M/d H:mm:ss", or the date alone when the time is exactly midnight.
std::string DateTimeToText(DateTime value);

// Reads what DateTimeToText writes, and also '-' as the date separator,
// zero-padded fields and times without seconds. Throws ConversionError otherwise.
DateTime TextToDateTime(std::string_view text);

// TextToDateTime without the exception: nullopt when the text is not a date-time.
std::optional<DateTime> TryTextToDateTime(std::string_view text);

}  // namespace movra
