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

// Appends what DateTimeToText gives for value ("2006/3/3 9:07:02", the date
// alone at midnight) without the formatted printing and the temporary string
// per line, which would dominate the time to write a large snapshot.
void AppendDateTimeText(std::string& out, DateTime value) {
  const DateTimeParts p = DecodeDateTime(value);
  char text[48];
  char* end = text + sizeof text;
  char* at = std::to_chars(text, end, p.year).ptr;
  *at++ = '/';
  at = std::to_chars(at, end, p.month).ptr;
  *at++ = '/';
  at = std::to_chars(at, end, p.day).ptr;
  if (p.hour != 0 || p.minute != 0 || p.second != 0) {
    *at++ = ' ';
    at = std::to_chars(at, end, p.hour).ptr;
    for (const int two : {p.minute, p.second}) {
      *at++ = ':';
      *at++ = static_cast<char>('0' + two / 10);
      *at++ = static_cast<char>('0' + two % 10);
    }
  }
  out.append(text, at);
}

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
  AdviseHugePages(out);
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
    AppendDateTimeText(out, e.modified);
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
