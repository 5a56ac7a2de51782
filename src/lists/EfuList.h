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
// Date Modified, Date Created, Attributes in any order; others are skipped),
// then one row a line (CRLF or LF; a quoted field may hold line breaks), with
// an optional byte-order mark and blank lines skipped. Calls row for every
// row in order and stops at the first line that does not parse: a wrong
// number of fields, a number that is not one, a name that is not UTF-8.
EfuReadResult ReadEfu(std::string_view text, const std::function<void(EfuRow&&)>& row);

// Local times to FILETIME ticks, through the system's time zone rules; the
// system is asked once per hour of local time.
class LocalFileTimes {
 public:
  // The ticks of a local time; nullopt before 1601 or when the system cannot place it.
  std::optional<std::int64_t> Of(DateTime local);

 private:
  struct Slot {
    std::int64_t hour = INT64_MIN;  // local calendar hours since 1970
    std::int64_t offset = 0;        // local minus UTC, seconds
    bool known = false;
  };
  std::array<Slot, 512> slots_{};
};

// The local time of FILETIME ticks, to the second; nullopt when the system cannot express it.
std::optional<DateTime> LocalOfFileTime(std::int64_t ticks);

}  // namespace movra
