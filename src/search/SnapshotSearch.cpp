#include "search/SnapshotSearch.h"

#include <cstring>
#include <optional>

#include "platform/ByteSearch.h"
#include "platform/FileSystem.h"
#include "search/TextFinder.h"
#include "snapshot/LineFields.h"

namespace movra {
namespace {

// The data as a text-mode read sees it: a byte 0x1A ends it.
std::string_view TextData(const std::string& bytes) {
  const void* end_mark = std::memchr(bytes.data(), 0x1A, bytes.size());
  if (end_mark == nullptr) return bytes;
  return std::string_view(bytes.data(), static_cast<size_t>(static_cast<const char*>(end_mark) - bytes.data()));
}

// 光盘(<disc>)的索引中有无法识别的时间“<text>”，搜索已停止！
std::string BadTimeMessage(std::string_view disc_name, std::string_view time_text) {
  std::string message = "\xB9\xE2\xC5\xCC(" + std::string(disc_name) + ")\xB5\xC4\xCB\xF7\xD2\xFD\xD6\xD0\xD3\xD0"
                        "\xCE\xDE\xB7\xA8\xCA\xB6\xB1\xF0\xB5\xC4\xCA\xB1\xBC\xE4\xA1\xB0";
  message.append(time_text);
  message += "\xA1\xB1\xA3\xAC\xCB\xD1\xCB\xF7\xD2\xD1\xCD\xA3\xD6\xB9\xA3\xA1";
  return message;
}

// Takes one line apart and adds its row when the entry's name matches and
// the entry meets the matcher's conditions. False when the line is to be
// added, or its time decides, but its time is no date-time.
bool SearchLine(std::string_view line, NameMatcher& matcher, SearchResults& results, DiscReport& report,
                std::string_view disc_name) {
  if (!line.empty() && line.back() == '\r') line.remove_suffix(1);  // CR LF ends the line as LF does
  const LineMarkers markers = FindMarkers(line);
  const std::string_view name = LineName(line, markers);
  if (!matcher.Matches(name)) return true;
  const bool is_file = LineIsFile(markers);
  const std::int64_t size = EntrySize(line, markers);
  const EntryConditions& conditions = matcher.Conditions();
  if (!conditions.AdmitsKindAndSize(is_file, size)) return true;
  DateTime modified;
  try {
    modified = LineTime(line, markers);
  } catch (const ConversionError&) {
    report.outcome = DiscOutcome::kBadTime;
    report.error = BadTimeMessage(disc_name, markers.last_close == LineMarkers::npos
                                                 ? line
                                                 : line.substr(markers.last_close + 1));
    return false;
  }
  if (!conditions.AdmitsTime(modified)) return true;
  results.AddEntry(is_file, name, LineFolder(line, markers), size, modified);
  return true;
}

// The position of the line feed at or after from, or the end of the data.
size_t LineEnd(std::string_view data, size_t from) {
  const void* lf = std::memchr(data.data() + from, '\n', data.size() - from);
  return lf == nullptr ? data.size() : static_cast<size_t>(static_cast<const char*>(lf) - data.data());
}

// Searches every line of the data, lines of any length, the last one also
// without a line end; stops at a matching line without a date-time.
void SearchEveryLine(std::string_view data, NameMatcher& matcher, SearchResults& results, DiscReport& report,
                     std::string_view disc_name) {
  for (size_t start = 0; start < data.size();) {
    const size_t end = LineEnd(data, start);
    if (!SearchLine(data.substr(start, end - start), matcher, results, report, disc_name)) return;
    start = end + 1;
  }
}

// Searches only the lines that hold the text every match requires: found
// in the whole data at once, which skips most lines without taking them
// apart. Each line found is then decided as SearchEveryLine decides it.
void SearchLinesHolding(std::string_view data, std::string_view required, NameMatcher& matcher,
                        SearchResults& results, DiscReport& report, std::string_view disc_name) {
  const TextFinder finder(required, matcher.FoldsNames());
  for (size_t start = 0; start < data.size();) {
    const size_t at = finder.Find(data, start);
    if (at == std::string_view::npos) break;
    const char* lf = FindLastByte(data.data() + start, at - start, '\n');
    if (lf != nullptr) start = static_cast<size_t>(lf - data.data()) + 1;
    const size_t end = LineEnd(data, at);
    if (!SearchLine(data.substr(start, end - start), matcher, results, report, disc_name)) return;
    start = end + 1;
  }
}

}  // namespace

DiscReport SearchDisc(const std::string& data_folder, const DiscListEntry& disc, NameMatcher& matcher,
                      SearchResults& results) {
  DiscReport report;
  report.snapshot_path = SnapshotPathOf(data_folder, disc.disc_name);
  const std::optional<std::string> bytes = Fs().ReadFile(report.snapshot_path);
  if (!bytes) {
    report.outcome = DiscOutcome::kMissing;
    return report;
  }
  results.AddDisc(disc.Text());

  // Lines end at LF; a CR before it belongs to the line end.
  SearchSnapshotLines(TextData(*bytes), disc.disc_name, matcher, results, report);
  return report;
}

bool SearchSnapshotLines(std::string_view text, std::string_view disc_name, NameMatcher& matcher,
                         SearchResults& results, DiscReport& report) {
  const std::string_view required = matcher.RequiredText();
  if (required.empty()) {
    SearchEveryLine(text, matcher, results, report, disc_name);
  } else {
    SearchLinesHolding(text, required, matcher, results, report, disc_name);
  }
  return report.outcome != DiscOutcome::kBadTime;
}

SearchEnd SearchDiscs(const std::string& data_folder, const std::vector<DiscListEntry>& discs,
                      NameMatcher& matcher, SearchResults& results, const SearchCallback& after_each) {
  for (size_t i = 0; i < discs.size(); ++i) {
    const DiscReport report = SearchDisc(data_folder, discs[i], matcher, results);
    const bool go_on = !after_each || after_each(SearchProgress{i, discs.size(), &discs[i], &report});
    if (report.outcome == DiscOutcome::kBadTime) return SearchEnd::kStoppedAtBadTime;
    if (!go_on && i + 1 < discs.size()) return SearchEnd::kCancelled;
  }
  return SearchEnd::kCompleted;
}

}  // namespace movra
