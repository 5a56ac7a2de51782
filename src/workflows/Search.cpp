#include "workflows/Search.h"

#include "platform/TextCodec.h"

namespace movra {

std::optional<std::vector<DiscListEntry>> LocateSearch(CatalogueDocument& catalogue,
                                                        const SearchRequest& request) {
  Element located;
  if (request.location_kind != LocationKind::kDisc) located = catalogue.ResolvePath(request.location, false);
  if (!located && request.location_kind != LocationKind::kCategory) {
    located = catalogue.ResolvePath(request.location, true);
  }
  if (!located) return std::nullopt;
  return BuildDiscList(located);
}

std::size_t VisitEntries(const SearchResults& results, std::size_t first, std::string_view disc,
                         const std::function<void(const FoundEntry&)>& visit) {
  std::size_t visited = 0;
  for (std::size_t i = first; i < results.size(); ++i) {
    const SearchRow& row = results[i];
    if (row.kind != RowKind::kFile && row.kind != RowKind::kFolder) continue;
    const bool is_file = row.kind == RowKind::kFile;
    visit(FoundEntry{disc, SearchResults::Folder(row), SearchResults::Name(row), is_file, is_file ? row.size : 0,
                     row.modified});
    ++visited;
  }
  return visited;
}

SearchOutcome RunSearch(const std::string& data_folder, const std::vector<DiscListEntry>& discs,
                        const SearchRequest& request, SearchResults& results, const SearchStepCallback& after_disc,
                        NameIndex* index, const IndexCatchUp& catch_up) {
  SearchOutcome outcome;
  NameMatcher matcher(request.text, request.options, request.conditions);
  std::size_t first_row = results.size();
  std::vector<std::string> stale;
  outcome.end = SearchDiscs(
      data_folder, discs, matcher, results,
      [&](const SearchProgress& progress) {
        const DiscReport& report = *progress.report;
        SearchStep step{progress.index, progress.count, progress.disc, first_row, {}};
        const std::size_t added = results.size() - first_row;
        if (report.outcome == DiscOutcome::kMissing) {
          step.missing_message = Utf8ToGbk("光盘(" + report.snapshot_path + ")不存在！");
        } else {
          ++outcome.discs_searched;
          outcome.matches += added - 1;  // the disc's header row is no match
        }
        if (report.outcome == DiscOutcome::kBadTime) outcome.message = report.error;
        const bool go_on = !after_disc || after_disc(step);
        first_row = results.size();
        return go_on;
      },
      index, &stale);
  // Discs whose index part was missing or out of date were read whole.
  if (catch_up) {
    catch_up(stale);
  } else if (index != nullptr && index->Complete()) {
    // An index never built is left to a full build.
    index->CatchUp(stale);
  }
  return outcome;
}

}  // namespace movra
