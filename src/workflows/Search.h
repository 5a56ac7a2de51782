// Search without its dialogs: the location resolved against the catalogue,
// the discs searched with the name index where it vouches for them and by
// their snapshot files otherwise (the same rows either way), the messages
// for a disc without its snapshot and for a time that is no date-time, and
// the index brought in step afterwards. Texts are GBK.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "catalog/CatalogueDocument.h"
#include "nameindex/NameIndex.h"
#include "platform/DateTime.h"
#include "search/DiscList.h"
#include "search/EntryConditions.h"
#include "search/FoundEntry.h"
#include "search/NameMatcher.h"
#include "search/SearchResults.h"
#include "search/SnapshotSearch.h"

namespace movra {

// How the location of a search is taken.
enum class LocationKind {
  kCategoryOrDisc,  // a category path, else a disc path or a disc's name
  kCategory,        // a category path ("全部\", "A\B\")
  kDisc,            // a disc path or a disc's name
};

// What a search asks for: a name, and conditions that every entry found
// meets as well.
struct SearchRequest {
  std::string text;      // the name to find; * and ? are wildcards unless options.literal; empty: any name
  std::string location;  // where: "全部\", a category path, a disc path
  LocationKind location_kind = LocationKind::kCategoryOrDisc;
  MatchOptions options;  // case and literal
  EntryConditions conditions{};  // size, modification time and kind
};

// True when the request asks for something: a name or a condition (an empty
// name alone would list every entry and is refused).
inline bool AsksForSomething(const SearchRequest& request) {
  return !request.text.empty() || request.conditions.Any();
}

// The discs the request's location covers, in search order; nullopt when it names nothing.
std::optional<std::vector<DiscListEntry>> LocateSearch(CatalogueDocument& catalogue,
                                                        const SearchRequest& request);

// Calls visit for every entry row of results from row first on (disc
// headers skipped) as an entry of disc; the number of entries visited.
std::size_t VisitEntries(const SearchResults& results, std::size_t first, std::string_view disc,
                         const std::function<void(const FoundEntry&)>& visit);

// Where a search stands after one disc.
struct SearchStep {
  std::size_t index = 0;  // of the disc just searched
  std::size_t count = 0;  // discs searched in all
  const DiscListEntry* disc = nullptr;
  std::size_t first_row = 0;    // the disc's rows in the results start here
  std::string missing_message;  // for a catalogued disc without its snapshot: what the user is told
};

// Called after each disc (the results may be emptied here); false stops the search.
using SearchStepCallback = std::function<bool(const SearchStep&)>;

// Brings the index in step for discs a search had to read whole.
using IndexCatchUp = std::function<void(const std::vector<std::string>& discs)>;

// How a search ended.
struct SearchOutcome {
  SearchEnd end = SearchEnd::kCompleted;
  std::size_t matches = 0;         // entry rows added
  std::size_t discs_searched = 0;  // discs whose snapshot was there
  std::string message;             // for kStoppedAtBadTime: names the disc and quotes the text
};

// Searches the discs into results, calling after_disc after every disc.
// index (may be null) answers the discs it vouches for; the discs it had to
// leave to their files go to catch_up afterwards, or, without one, to the
// index itself when a full build has finished once.
SearchOutcome RunSearch(const std::string& data_folder, const std::vector<DiscListEntry>& discs,
                        const SearchRequest& request, SearchResults& results, const SearchStepCallback& after_disc,
                        NameIndex* index, const IndexCatchUp& catch_up = {});

}  // namespace movra
