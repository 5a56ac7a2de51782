// Conditions beyond the name that a found entry must meet, all of them at
// once: a least and a greatest size, a span of modification times and the
// kind of entry. Also the readers of the size and date texts users type,
// shared by the find dialog and movra-cli. Texts are GBK.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/DateTime.h"

namespace movra {

// Which kinds of entry a search finds.
enum class EntryKinds : std::uint8_t {
  kAll,
  kFiles,
  kFolders,
};

struct EntryConditions {
  std::optional<std::int64_t> min_size{};  // at least this many bytes; a folder counts as 0
  std::optional<std::int64_t> max_size{};  // at most this many bytes
  std::optional<DateTime> after{};         // modified at this instant or later
  std::optional<DateTime> before{};        // modified earlier than this instant
  EntryKinds kinds = EntryKinds::kAll;

  // True when some condition is set.
  bool Any() const { return min_size || max_size || after || before || kinds != EntryKinds::kAll; }
  // True when the conditions look at the modification time.
  bool NeedTime() const { return after || before; }
  // True when an entry of this kind and size (0 for a folder) meets the kind and size conditions.
  bool AdmitsKindAndSize(bool is_file, std::int64_t size) const {
    if (kinds == EntryKinds::kFiles && !is_file) return false;
    if (kinds == EntryKinds::kFolders && is_file) return false;
    if (min_size && size < *min_size) return false;
    return !max_size || size <= *max_size;
  }
  // True when a modification time meets the time conditions.
  bool AdmitsTime(DateTime modified) const { return (!after || modified >= *after) && (!before || modified < *before); }

  bool operator==(const EntryConditions&) const = default;
};

// A size text: a whole number of bytes ("1048576"), or a number with a unit
// K, M, G or T of 1024 steps, in either case, with or without a trailing B
// and blanks ("700M", "1.5 GB", "100kb"); nullopt for anything else,
// negative sizes and sizes beyond 64 bits.
std::optional<std::int64_t> ParseSizeText(std::string_view text);

// A date text, "2006-3-3" or "2006/3/3", optionally with a time "9:07" or
// "9:07:02"; a date alone is that day's start. nullopt for anything else.
std::optional<DateTime> ParseDateText(std::string_view text);

// 无法识别的大小“<text>”
std::string BadSizeMessage(std::string_view text);
// 无法识别的日期“<text>”
std::string BadDateMessage(std::string_view text);

// A size as the summary shows it: in the largest of B, KB, MB, GB, TB that
// holds it whole ("700 MB", "1536 MB", "100 B").
std::string SizeConditionText(std::int64_t bytes);

// The conditions as the summary of the results names them, each after a
// full-width comma ("，大小 ≥ 700 MB，修改于 2006/3/3 之后，只找文件"); empty without any.
std::string ConditionsText(const EntryConditions& conditions);

}  // namespace movra
