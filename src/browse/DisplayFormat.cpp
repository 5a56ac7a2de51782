#include "browse/DisplayFormat.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>

namespace movra {

namespace {

constexpr std::int64_t kKiB = 1024;
constexpr std::int64_t kMiB = kKiB * 1024;
constexpr std::int64_t kGiB = kMiB * 1024;

// Decimal digits of value with a comma between groups of three.
std::string Grouped(std::uint64_t value) {
  char digits[24];
  const auto result = std::to_chars(digits, digits + sizeof digits, value);
  const auto length = static_cast<std::size_t>(result.ptr - digits);
  std::string out;
  out.reserve(length + length / 3);
  for (std::size_t i = 0; i < length; ++i) {
    if (i > 0 && (length - i) % 3 == 0) out.push_back(',');
    out.push_back(digits[i]);
  }
  return out;
}

// A positive value with grouped integer digits and at most two decimals,
// rounded half away from zero; trailing zero decimals and a bare point dropped.
std::string TwoDecimals(float value) {
  // A float has 24 significant bits, so value * 100 is exact in a double.
  const auto cents = static_cast<std::uint64_t>(std::round(static_cast<double>(value) * 100.0));
  std::string out = Grouped(cents / 100);
  const unsigned fraction = static_cast<unsigned>(cents % 100);
  if (fraction != 0) {
    out.push_back('.');
    out.push_back(static_cast<char>('0' + fraction / 10));
    if (fraction % 10 != 0) out.push_back(static_cast<char>('0' + fraction % 10));
  }
  return out;
}

}  // namespace

std::string GroupedDigits(std::uint64_t value) { return Grouped(value); }

std::string FormatSize(std::int64_t bytes) {
  if (bytes > kKiB) return Grouped(static_cast<std::uint64_t>(bytes / kKiB)) + " KB";
  if (bytes == 0) return "0 KB";
  // 1 to 1024 bytes, and negative values, which only a damaged entry can hold.
  return "1 KB";
}

std::string FormatTotalSize(std::int64_t bytes) {
  // The total is scaled in single precision, which is what gives the texts
  // their familiar rounding (1,500,000,000 bytes -> "1.4 GB").
  const float value = static_cast<float>(bytes);
  if (bytes > kGiB) return TwoDecimals(value * 0x1p-30f) + " GB";
  if (bytes > kMiB) return TwoDecimals(value * 0x1p-20f) + " MB";
  // Kilobytes with two decimals like the larger units; a total that is not
  // zero never reads as 0 KB.
  if (bytes > 0 && bytes * 100 < kKiB / 2) return "0.01 KB";
  return TwoDecimals(value * 0x1p-10f) + " KB";
}

std::int64_t ParseSize(std::string_view text) {
  std::string s;
  s.reserve(text.size());
  for (const char c : text) {
    if (c != ' ' && c != '\t' && c != ',') s.push_back(c);
  }
  if (s.empty()) return 0;

  std::int64_t unit = 1;
  static constexpr std::pair<std::string_view, std::int64_t> kUnits[] = {
      {"KB", kKiB}, {"MB", kMiB}, {"GB", kGiB}};
  for (const auto& [suffix, factor] : kUnits) {
    const std::size_t at = s.find(suffix);
    if (at != std::string::npos) {
      s.erase(at, suffix.size());
      unit = factor;
      break;
    }
  }

  std::int64_t number = 0;
  const char* first = s.data();
  const char* last = s.data() + s.size();
  const auto result = std::from_chars(first, last, number);
  if (result.ec != std::errc() || result.ptr != last) return 0;
  std::int64_t bytes = 0;
  if (__builtin_mul_overflow(number, unit, &bytes)) return 0;
  return bytes;
}

std::string FormatDate(DateTime value) {
  const DateTimeParts p = DecodeDateTime(value);
  char text[40];
  const int n = std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d:%02d", p.year, p.month,
                              p.day, p.hour, p.minute, p.second);
  return std::string(text, static_cast<std::size_t>(n));
}

void WriteDate(DateTime value, char* out) {
  const DateTimeParts p = DecodeDateTime(value);
  std::memcpy(out, "0000-00-00 00:00:00", 19);
  auto put = [out](std::size_t at, int number, int digits) {
    for (int i = digits - 1; i >= 0; --i, number /= 10) out[at + i] = static_cast<char>('0' + number % 10);
  };
  put(0, std::clamp(p.year, 0, 9999), 4);
  put(5, p.month, 2);
  put(8, p.day, 2);
  put(11, p.hour, 2);
  put(14, p.minute, 2);
  put(17, p.second, 2);
}

}  // namespace movra
