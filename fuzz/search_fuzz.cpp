// The search of one disc gives exactly the rows a line-by-line reading of
// the snapshot gives, whether or not it skips lines by the required text.
#include <vector>

#include "fuzz/FuzzSupport.h"
#include "search/SnapshotSearch.h"
#include "snapshot/LineFields.h"

namespace {

struct Row {
  bool is_file;
  std::string name, folder;
  std::int64_t size;
  double modified;
  bool operator==(const Row&) const = default;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
  using namespace movra;
  fuzz::Fields fields(data, size);
  const std::uint8_t options = fields.Byte();
  const std::string pattern(fields.Next());
  if (pattern.size() > 32) return 0;
  const std::string bytes(fields.Rest());
  fuzz::MemoryFileSystem files;
  files.files["data/D.cdg"] = bytes;
  SetFileSystem(&files);
  const MatchOptions match{(options & 1) != 0, (options & 2) != 0};
  NameMatcher matcher(pattern, match);
  // One list for many runs: a fresh one per run spends most of the time
  // taking fresh memory for its blocks.
  static SearchResults results;
  if (results.size() > 100000) results.Clear();
  const size_t first = results.size();
  const DiscReport report = SearchDisc("data/", {"", "D"}, matcher, results);
  SetFileSystem(nullptr);

  std::vector<Row> found;
  FUZZ_CHECK(results.size() > first && results[first].kind == RowKind::kDisc);
  for (size_t i = first + 1; i < results.size(); ++i) {
    const SearchRow& r = results[i];
    found.push_back({r.kind == RowKind::kFile, std::string(SearchResults::Name(r)),
                     std::string(SearchResults::Folder(r)), r.size, r.modified});
  }

  std::vector<Row> expected;
  bool bad_time = false;
  NameMatcher reference(pattern, match);
  std::string_view text = bytes;
  text = text.substr(0, text.find('\x1A'));
  while (!text.empty() && !bad_time) {
    const size_t lf = text.find('\n');
    std::string_view line = text.substr(0, lf);
    text = lf == std::string_view::npos ? std::string_view() : text.substr(lf + 1);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    const LineMarkers m = FindMarkers(line);
    if (!reference.Matches(LineName(line, m))) continue;
    const std::string_view time_text = m.last_close == LineMarkers::npos ? line : line.substr(m.last_close + 1);
    const std::optional<DateTime> time = TryTextToDateTime(time_text);
    if (!time) {
      bad_time = true;
      break;
    }
    expected.push_back({LineIsFile(m), std::string(LineName(line, m)), std::string(LineFolder(line, m)),
                        EntrySize(line, m), *time});
  }
  FUZZ_CHECK(found == expected);
  FUZZ_CHECK((report.outcome == DiscOutcome::kBadTime) == bad_time);
  return 0;
}
