#include "snapshot/SnapshotFile.h"

#include <charconv>
#include <cstdint>

#include "platform/DateTime.h"
#include "platform/FileSystem.h"
#include "snapshot/LineFields.h"

namespace movra {

namespace {

constexpr char kEndOfData = '\x1A';
// Older files hold sizes as signed 32-bit values; a negative one is a file of
// 2 GiB or more that wrapped.
constexpr std::int64_t kWrap = std::int64_t{1} << 32;

// Date-time texts, remembering the last one: the entries of a folder often
// share their time.
class TimeTexts {
 public:
  const std::string& For(DateTime value) {
    if (!valid_ || value != last_) {
      text_ = DateTimeToText(value);
      last_ = value;
      valid_ = true;
    }
    return text_;
  }

 private:
  bool valid_ = false;
  DateTime last_ = 0;
  std::string text_;
};

// One line taken apart; false when it cannot be read (the reading stops there).
bool ParseLine(std::string_view line, SnapshotIndex& index) {
  const LineMarkers m = FindMarkers(line);
  // A line without "]" has no date-time field of its own (this also covers
  // the empty line).
  if (m.last_close == LineMarkers::npos) return false;
  DateTime modified = 0;
  try {
    modified = LineTime(line, m);
  } catch (const ConversionError&) {
    return false;
  }
  const bool isFile = LineIsFile(m);
  std::int64_t size = 0;
  if (isFile) {
    size = LineSize(line, m);
    if (size < 0 && size >= -kWrap / 2) size += kWrap;
  }
  // The index skips empty and too long keys and names; a storage failure is
  // no fault of the file, so reading goes on either way.
  index.Insert(LineFolder(line, m), LineName(line, m), modified, isFile, size);
  return true;
}

}  // namespace

std::string SnapshotText(const SnapshotIndex& index) {
  // Bytes per line beyond key and name: markers, up to 20 size digits and a
  // date-time text of at most 19 bytes, CR LF.
  constexpr std::size_t kLineExtra = 48;
  std::size_t estimate = 0;
  for (const SnapshotEntryView e : index) estimate += e.key.size() + e.name.size() + kLineExtra;

  std::string out;
  out.reserve(estimate);
  TimeTexts times;
  char digits[24];
  for (const SnapshotEntryView e : index) {
    out.append(e.key);
    if (e.isFile) {
      out.append(e.name);
      out.push_back('[');
      const auto result = std::to_chars(digits, digits + sizeof digits, e.size);
      out.append(digits, result.ptr);
      out.push_back(']');
    } else {
      out.push_back('|');
      out.append(e.name);
      out.append("[]");
    }
    out.append(times.For(e.modified));
    out.append("\r\n");
  }
  return out;
}

bool WriteSnapshot(const SnapshotIndex& index, const std::string& path) {
  return Fs().WriteFileAtomic(path, SnapshotText(index), /*sync=*/false);
}

bool ParseSnapshot(SnapshotIndex& index, std::string_view text) {
  if (!index.Empty()) index.Clear();
  // Byte 0x1A ends the data, as an end-of-file mark does in text mode.
  const std::size_t eof = text.find(kEndOfData);
  if (eof != std::string_view::npos) text = text.substr(0, eof);

  std::size_t pos = 0;
  while (pos < text.size()) {
    std::size_t end = text.find('\n', pos);
    const std::size_t next = end == std::string_view::npos ? text.size() : end + 1;
    if (end == std::string_view::npos) end = text.size();
    // CR LF ends a line like LF; a CR elsewhere stays in the line.
    std::size_t lineEnd = end;
    if (end < text.size() && lineEnd > pos && text[lineEnd - 1] == '\r') --lineEnd;
    if (!ParseLine(text.substr(pos, lineEnd - pos), index)) return false;
    pos = next;
  }
  return true;
}

bool ReadSnapshot(SnapshotIndex& index, const std::string& path) {
  if (!Fs().FileExists(path)) return false;
  const std::optional<std::string> bytes = Fs().ReadFile(path);
  // An unreadable file is reported like a missing one, and the snapshot
  // loaded before stays usable.
  if (!bytes) return false;
  return ParseSnapshot(index, *bytes);
}

}  // namespace movra
