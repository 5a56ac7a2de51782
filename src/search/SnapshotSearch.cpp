#include "search/SnapshotSearch.h"

#include <cstring>
#include <optional>

#include "platform/FileSystem.h"
#include "snapshot/LineFields.h"

namespace movra {
namespace {

// The data as a text-mode read sees it: a byte 0x1A ends it.
std::string_view TextData(const std::string& bytes) {
  const void* end_mark = std::memchr(bytes.data(), 0x1A, bytes.size());
  if (end_mark == nullptr) return bytes;
  return std::string_view(bytes.data(), static_cast<size_t>(static_cast<const char*>(end_mark) - bytes.data()));
}

}  // namespace

std::string SnapshotPathOf(const std::string& data_folder, const std::string& disc_name) {
  return data_folder + disc_name + ".cdg";
}

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

  // Lines end at LF; a CR before it belongs to the line end. Lines of any
  // length are searched, and a last line without a line end still counts.
  const std::string_view data = TextData(*bytes);
  const char* const begin = data.data();
  const char* const end = begin + data.size();
  for (const char* p = begin; p < end;) {
    const char* lf = static_cast<const char*>(std::memchr(p, '\n', static_cast<size_t>(end - p)));
    const char* line_end = lf != nullptr ? lf : end;
    std::string_view line(p, static_cast<size_t>(line_end - p));
    p = lf != nullptr ? lf + 1 : end;
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);

    const LineMarkers markers = FindMarkers(line);
    const std::string_view name = LineName(line, markers);
    if (!matcher.Matches(name)) continue;
    const bool is_file = LineIsFile(markers);
    DateTime modified;
    try {
      modified = LineTime(line, markers);
    } catch (const ConversionError& error) {
      report.outcome = DiscOutcome::kBadTime;
      report.error = error.what();
      return report;
    }
    results.AddEntry(is_file, name, LineFolder(line, markers), is_file ? LineSize(line, markers) : 0, modified);
  }
  return report;
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
