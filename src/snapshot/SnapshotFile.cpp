#include "snapshot/SnapshotFile.h"

#include <charconv>
#include <cstdint>

#include "platform/DateTime.h"
#include "platform/FileSystem.h"
#include "snapshot/LineFields.h"

namespace movra {

namespace {

constexpr char kEndOfData = '\x1A';

// Appends what DateTimeToText gives for value ("2006/3/3 9:07:02", the date
// alone at midnight) without the formatted printing and the temporary string
// per line, which would dominate the time to write a large snapshot.
void AppendDateTimeText(std::string& out, DateTime value) {
  const DateTimeParts p = DecodeDateTime(value);
  // Each number gets room for any int (11 characters), so that no write
  // can pass the end even where the compiler cannot see the ranges.
  constexpr int kIntChars = 11;
  char text[4 * kIntChars + 9];  // and "/", "/", " " and ":mm:ss"
  char* at = std::to_chars(text, text + kIntChars, p.year).ptr;
  *at++ = '/';
  at = std::to_chars(at, at + kIntChars, p.month).ptr;
  *at++ = '/';
  at = std::to_chars(at, at + kIntChars, p.day).ptr;
  if (p.hour != 0 || p.minute != 0 || p.second != 0) {
    *at++ = ' ';
    at = std::to_chars(at, at + kIntChars, p.hour).ptr;
    for (const int two : {p.minute, p.second}) {
      *at++ = ':';
      *at++ = static_cast<char>('0' + two / 10);
      *at++ = static_cast<char>('0' + two % 10);
    }
  }
  out.append(text, at);
}

bool IsLeadByte(unsigned char b) { return b >= 0x81 && b <= 0xFE; }

// What a field of a line may not hold as a character of its own.
enum FieldKind {
  kFolderKey,  // a line feed or 0x1A would end the line or the data
  kFileKey,    // also a bar, which would make the line a folder's
  kName,       // also a backslash, which would move the entry to another folder
};

// Appends a key or a name so that its line reads back with the same fields,
// whatever the text holds: each character the field may not hold, and a
// lead byte left without its second byte at the end (it would swallow the
// marker that follows), becomes '_'. Characters are walked as the reader
// walks them, so a second byte 0x5C or 0x7C is never touched.
void AppendField(std::string& out, std::string_view text, FieldKind kind) {
  bool clean = text.empty() || !IsLeadByte(static_cast<unsigned char>(text.back()));
  for (size_t i = 0; clean && i < text.size(); ++i) {
    const char c = text[i];
    clean = c != '\n' && c != kEndOfData && c != '|' && c != '\\';
  }
  if (clean) {
    out.append(text);
    return;
  }
  const size_t start = out.size();
  out.append(text);
  for (size_t i = start; i < out.size(); ++i) {
    const auto b = static_cast<unsigned char>(out[i]);
    if (IsLeadByte(b)) {
      if (i + 1 == out.size()) out[i] = '_';
      ++i;
      continue;
    }
    if (b == '\n' || b == kEndOfData || (b == '|' && kind != kFolderKey) || (b == '\\' && kind == kName)) out[i] = '_';
  }
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
  const std::int64_t size = EntrySize(line, m);
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
    AppendField(out, e.key, e.isFile ? kFileKey : kFolderKey);
    if (e.isFile) {
      AppendField(out, e.name, kName);
      out.push_back('[');
      const auto result = std::to_chars(digits, digits + sizeof digits, e.size);
      out.append(digits, result.ptr);
      out.push_back(']');
    } else {
      out.push_back('|');
      AppendField(out, e.name, kName);
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
