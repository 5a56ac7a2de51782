#include "lists/EfuList.h"

#include <charconv>
#include <vector>

#include "lists/ListRows.h"
#include "platform/TextCodec.h"
#include "search/EntryConditions.h"

namespace movra {
namespace {

constexpr std::int64_t kTicksPerSecond = 10'000'000;
constexpr std::int64_t kSecondsFrom1601To1970 = 11'644'473'600;

std::int64_t FloorDiv(std::int64_t a, std::int64_t b) { return a / b - (a % b != 0 && (a < 0) != (b < 0)); }

// The part of a folder below its drive: "E:\VIDEO_TS\" gives "VIDEO_TS\"; a
// folder without a drive is kept whole.
std::string_view BelowDrive(std::string_view folder) {
  const std::size_t colon = folder.find(":\\");
  if (colon == std::string_view::npos || folder.substr(0, colon).find('\\') != std::string_view::npos) return folder;
  return folder.substr(colon + 2);
}

// Filename,Size,Date Modified,Date Created,Attributes rows. Every filename
// starts with the disc's text, so that rows of different discs never collide;
// the date created is not recorded and repeats the date modified.
class EfuWriter : public ListWriter {
 public:
  explicit EfuWriter(ByteSink& sink) : out_(sink) {
    out_.bytes() += "Filename,Size,Date Modified,Date Created,Attributes\r\n";
  }

  void Write(const FoundEntry& entry) override {
    const bool disc_changed = texts_.Take(entry);
    if (disc_changed || texts_.folder_changed()) {
      prefix_ = texts_.disc();
      prefix_ += '\\';
      prefix_ += BelowDrive(texts_.folder());
    }
    path_ = prefix_;
    path_ += texts_.name();
    std::string& out = out_.bytes();
    lists::AppendCsvField(out, path_, true);
    out += ',';
    if (entry.is_file) lists::AppendNumber(out, entry.size);
    out += ',';
    if (entry.modified != time_value_ || !time_valid_) {
      time_value_ = entry.modified;
      time_valid_ = true;
      time_.clear();
      if (const std::optional<std::int64_t> ticks = times_.Of(entry.modified)) lists::AppendNumber(time_, *ticks);
    }
    out += time_;
    out += ',';
    out += time_;
    out += entry.is_file ? ",0\r\n" : ",16\r\n";
    out_.Pass();
  }

  bool Finish() override { return out_.Flush(); }

 private:
  lists::Output out_;
  lists::RowTexts texts_;
  std::string prefix_;  // the disc and the folder below its drive, UTF-8
  std::string path_;
  LocalFileTimes times_;
  DateTime time_value_ = 0;
  bool time_valid_ = false;
  std::string time_;  // the ticks of time_value_, or empty
};

// A number field: empty gives nullopt in value; false when it is not decimal digits.
template <typename Number>
bool ReadNumber(std::string_view text, std::optional<Number>& value) {
  if (text.empty()) return true;
  Number number{};
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), number);
  if (error != std::errc() || end != text.data() + text.size() || text[0] == '-') return false;
  value = number;
  return true;
}

// A date field as a local time; false when it is no FILETIME the system can place.
bool ReadTime(std::string_view text, std::optional<DateTime>& value) {
  std::optional<std::int64_t> ticks;
  if (!ReadNumber(text, ticks)) return false;
  if (ticks) {
    value = LocalOfFileTime(*ticks);
    if (!value) return false;
  }
  return true;
}

// Splits one record at pos into fields; false when its quotes do not close
// or stray text follows a closing quote. pos ends after the record's line
// end; lines counts the line ends passed.
bool ReadRecord(std::string_view text, std::size_t& pos, std::vector<std::string>& fields, std::size_t& lines) {
  fields.clear();
  for (;;) {
    std::string& field = fields.emplace_back();
    if (pos < text.size() && text[pos] == '"') {
      ++pos;
      for (;;) {
        const std::size_t quote = text.find('"', pos);
        if (quote == std::string_view::npos) return false;
        const std::string_view piece = text.substr(pos, quote - pos);
        for (const char c : piece) lines += c == '\n';
        field += piece;
        pos = quote + 1;
        if (pos < text.size() && text[pos] == '"') {
          field += '"';
          ++pos;
          continue;
        }
        break;
      }
    } else {
      const std::size_t end = text.find_first_of(",\r\n\"", pos);
      const std::size_t stop = end == std::string_view::npos ? text.size() : end;
      field.assign(text.substr(pos, stop - pos));
      pos = stop;
      if (pos < text.size() && text[pos] == '"') return false;
    }
    if (pos == text.size()) return true;
    if (text[pos] == ',') {
      ++pos;
      continue;
    }
    if (text[pos] == '\r') ++pos;
    if (pos < text.size() && text[pos] == '\n') {
      ++pos;
      ++lines;
      return true;
    }
    return pos == text.size();
  }
}

bool SameLetters(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
    if (lower(a[i]) != lower(b[i])) return false;
  }
  return true;
}

}  // namespace

namespace lists {

std::unique_ptr<ListWriter> MakeEfuWriter(ByteSink& sink) { return std::make_unique<EfuWriter>(sink); }

}  // namespace lists

std::optional<std::int64_t> LocalFileTimes::OffsetAt(DateTime local, int second_of_day, std::int64_t calendar_seconds) {
  DateTimeParts parts = DecodeDateTime(local);
  parts.hour = second_of_day / 3600;
  parts.minute = second_of_day / 60 % 60;
  parts.second = second_of_day % 60;
  const std::optional<std::time_t> utc = TimeTOfLocal(parts);
  if (!utc) return std::nullopt;
  return calendar_seconds - static_cast<std::int64_t>(*utc);
}

std::optional<std::int64_t> LocalFileTimes::Of(DateTime local) {
  const std::int64_t seconds = CalendarSeconds(local);
  const std::int64_t day = FloorDiv(seconds, 86400);
  Day& slot = days_[static_cast<std::size_t>(day) % days_.size()];
  if (slot.day != day) {
    // The same offset at the first and the last second: no change of clocks that day.
    const std::optional<std::int64_t> first = OffsetAt(local, 0, day * 86400);
    const std::optional<std::int64_t> last = OffsetAt(local, 86399, day * 86400 + 86399);
    slot = {day, first == last ? first : std::nullopt};
  }
  std::optional<std::int64_t> offset = slot.offset;
  if (!offset) {
    const std::int64_t hour = FloorDiv(seconds, 3600);
    offset = OffsetAt(local, static_cast<int>(hour - day * 24) * 3600, hour * 3600);
  }
  if (!offset) return std::nullopt;
  const std::int64_t since_1601 = seconds - *offset + kSecondsFrom1601To1970;
  if (since_1601 < 0 || since_1601 > INT64_MAX / kTicksPerSecond) return std::nullopt;
  return since_1601 * kTicksPerSecond;
}

std::optional<DateTime> LocalOfFileTime(std::int64_t ticks) {
  if (ticks < 0) return std::nullopt;
  const std::int64_t seconds = ticks / kTicksPerSecond - kSecondsFrom1601To1970;
  const std::optional<std::tm> tm = LocalTimeOf(static_cast<std::time_t>(seconds));
  if (!tm) return std::nullopt;
  return EncodeDateTime({tm->tm_year + 1900, tm->tm_mon + 1, tm->tm_mday, tm->tm_hour, tm->tm_min, tm->tm_sec});
}

EfuReadResult ReadEfu(std::string_view text, const std::function<void(EfuRow&&)>& row) {
  EfuReadResult result;
  std::size_t pos = text.starts_with("\xEF\xBB\xBF") ? 3 : 0;
  std::size_t line = 1;
  std::vector<std::string> fields;
  // Where each known column is in a row; -1 when the header has none.
  // The last four are the columns of the program's own CSV lists, whose
  // folder and name make the filename and whose kind the attributes.
  enum Column { kFilename, kSize, kModified, kCreated, kAttributes, kFolder, kName, kKind, kTime, kColumns };
  static constexpr std::string_view kNames[kColumns] = {"Filename",   "Size",   "Date Modified", "Date Created",
                                                        "Attributes", "folder", "name",          "kind", "modified"};
  int at[kColumns] = {-1, -1, -1, -1, -1, -1, -1, -1, -1};
  bool own_csv = false;
  std::size_t columns = 0;
  while (pos < text.size()) {
    const std::size_t start_line = line;
    if (text[pos] == '\n' || text.substr(pos, 2) == "\r\n") {  // a blank line
      pos += text[pos] == '\n' ? 1 : 2;
      ++line;
      continue;
    }
    if (!ReadRecord(text, pos, fields, line)) return {result.rows, start_line};
    if (columns == 0) {
      for (std::size_t i = 0; i < fields.size(); ++i)
        for (int c = 0; c < kColumns; ++c)
          if (at[c] < 0 && SameLetters(fields[i], kNames[c])) at[c] = static_cast<int>(i);
      own_csv = at[kFilename] < 0 && at[kFolder] >= 0 && at[kName] >= 0 && at[kKind] >= 0;
      if (at[kFilename] < 0 && !own_csv) return {0, start_line};
      columns = fields.size();
      continue;
    }
    if (own_csv) {
      // disc,folder,name,kind,size,modified: the modified time as the lists write it.
      EfuRow parsed;
      const std::string& kind = fields.size() == columns ? fields[at[kKind]] : std::string();
      const std::optional<DateTime> modified =
          at[kTime] >= 0 && fields.size() == columns ? ParseDateText(fields[at[kTime]]) : std::nullopt;
      const bool ok = fields.size() == columns && (kind == "file" || kind == "folder") &&
                      IsUtf8(fields[at[kFolder]]) && IsUtf8(fields[at[kName]]) &&
                      (at[kSize] < 0 || ReadNumber(fields[at[kSize]], parsed.size)) &&
                      (at[kTime] < 0 || fields[at[kTime]].empty() || modified);
      if (!ok) return {result.rows, start_line};
      parsed.filename = Utf8ToGbk(fields[at[kFolder]] + fields[at[kName]]);
      parsed.modified = modified;
      parsed.attributes = kind == "folder" ? kEfuDirectory : 0;
      row(std::move(parsed));
      ++result.rows;
      continue;
    }
    EfuRow parsed;
    std::optional<std::uint32_t> attributes;
    const bool ok = fields.size() == columns && IsUtf8(fields[at[kFilename]]) &&
                    (at[kSize] < 0 || ReadNumber(fields[at[kSize]], parsed.size)) &&
                    (at[kModified] < 0 || ReadTime(fields[at[kModified]], parsed.modified)) &&
                    (at[kCreated] < 0 || ReadTime(fields[at[kCreated]], parsed.created)) &&
                    (at[kAttributes] < 0 || ReadNumber(fields[at[kAttributes]], attributes));
    if (!ok) return {result.rows, start_line};
    parsed.filename = Utf8ToGbk(fields[at[kFilename]]);
    parsed.attributes = attributes.value_or(0);
    row(std::move(parsed));
    ++result.rows;
  }
  if (columns == 0) result.bad_line = line;  // no header at all
  return result;
}

}  // namespace movra
