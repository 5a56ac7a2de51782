// How sizes, totals and dates look in the content list, the search results
// and the status bar, and the fixed texts of the type column.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/DateTime.h"

namespace movra {

// Type column text of a folder row in the content list: 文件夹.
inline constexpr std::string_view kTypeFolder = "\xCE\xC4\xBC\xFE\xBC\xD0";
// Type column text of a file row (content list and search results): 文件.
inline constexpr std::string_view kTypeFile = "\xCE\xC4\xBC\xFE";
// Type column text of a folder row in the search results: 目录.
inline constexpr std::string_view kTypeDirectory = "\xC4\xBF\xC2\xBC";
// Type column text of a disc header row in the search results: 光盘.
inline constexpr std::string_view kTypeDisc = "\xB9\xE2\xC5\xCC";
// The type text of a group of duplicates in the results: 重复文件.
inline constexpr std::string_view kTypeDuplicates = "\xD6\xD8\xB8\xB4\xCE\xC4\xBC\xFE";

// Decimal digits with a comma between groups of three ("1,234").
std::string GroupedDigits(std::uint64_t value);

// Size text of one row: whole kilobytes, grouped ("1,464 KB"); "0 KB" for 0,
// "1 KB" for 1..1024 bytes and for negative values.
std::string FormatSize(std::int64_t bytes);

// Total size text of the status bar: KB up to 1 MiB in the shortest exact form,
// MB up to 1 GiB and GB above, both with at most two decimals.
std::string FormatTotalSize(std::int64_t bytes);

// The byte count of a text made by FormatSize ("1,464 KB" -> 1499136); 0 for
// the empty text and for texts that are no number.
std::int64_t ParseSize(std::string_view text);

// Date text of the modified column: "yyyy-mm-dd hh:nn:ss".
std::string FormatDate(DateTime value);

// The same text written into the 19 bytes at out (no terminator), digit by
// digit for lists of millions of rows; the year is clamped to 0..9999.
void WriteDate(DateTime value, char* out);

}  // namespace movra
