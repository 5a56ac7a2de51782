// File lists (.efu): CSV in UTF-8 with the header
// Filename,Size,Date Modified,Date Created,Attributes, one row per file or
// folder, times as Windows FILETIME decimals (100-ns ticks since 1601-01-01
// UTC). The writer is the kEfu ListWriter; this is the reader and the time
// conversion both use.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "platform/DateTime.h"

namespace movra {

// The attribute bit of a folder.
inline constexpr std::uint32_t kEfuDirectory = 16;

// One row of a file list.
struct EfuRow {
  std::string filename;               // the full path, GBK ('?' for what GBK cannot hold)
  std::optional<std::int64_t> size;   // nullopt for an empty field
  std::optional<DateTime> modified;   // local time; nullopt for an empty field
  std::optional<DateTime> created;    // local time; nullopt for an empty field
  std::uint32_t attributes = 0;

  // True when the row is a folder's.
  bool IsFolder() const { return (attributes & kEfuDirectory) != 0; }
};

// How reading a file list ended.
struct EfuReadResult {
  std::size_t rows = 0;      // rows handed over
  std::size_t bad_line = 0;  // the line (from 1) of the first row or header that does not parse; 0 when none

  // True when every line parsed.
  bool ok() const { return bad_line == 0; }
};

// Reads a file list: a header naming the columns (Filename, and any of Size,
// Date Modified, Date Created, Attributes in any order; others are skipped;
// or the program's own CSV columns disc,folder,name,kind,size,modified),
// then one row a line (CRLF or LF; a quoted field may hold line breaks), with
// an optional byte-order mark and blank lines skipped. Calls row for every
// row in order and stops at the first line that does not parse: a wrong
// number of fields, a number that is not one, a name that is not UTF-8.
EfuReadResult ReadEfu(std::string_view text, const std::function<void(EfuRow&&)>& row);

// Local times to FILETIME ticks, through the system's time zone rules. The
// system is asked twice per local day, and per hour on a day whose clocks
// change, so that a million rows cost a few thousand questions.
class LocalFileTimes {
 public:
  // The ticks of a local time; nullopt before 1601 or when the system cannot place it.
  std::optional<std::int64_t> Of(DateTime local);

 private:
  // Local minus UTC in seconds at a second of local's day, whose calendar
  // seconds are given; nullopt when the system cannot place it.
  static std::optional<std::int64_t> OffsetAt(DateTime local, int second_of_day, std::int64_t calendar_seconds);
  struct Day {
    std::int64_t day = INT64_MIN;  // local calendar days since 1970
    std::optional<std::int64_t> offset;  // the whole day's offset; nullopt on a day of change
  };
  std::array<Day, 8192> days_{};
};

// The local time of FILETIME ticks, to the second; nullopt when the system cannot express it.
std::optional<DateTime> LocalOfFileTime(std::int64_t ticks);

}  // namespace movra
