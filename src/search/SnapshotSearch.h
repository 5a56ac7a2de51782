// Searching the snapshot files of the discs on a disc list. Each file is read
// line by line; a line whose entry name matches, and whose entry meets the
// matcher's conditions, adds a row to the results.
// The search works on the files alone and builds no snapshot index.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "search/DiscList.h"
#include "search/NameMatcher.h"
#include "search/SearchResults.h"
#include "snapshot/SnapshotName.h"

namespace movra {

// How the search of one disc ended.
enum class DiscOutcome {
  kSearched,  // the header row and every matching line were added
  kMissing,   // the snapshot file could not be opened; nothing was added
  kBadTime,   // a matching line's time is no date-time; the rows before it stay
};

// What the search of one disc did.
struct DiscReport {
  DiscOutcome outcome = DiscOutcome::kSearched;
  std::string snapshot_path;  // data folder + disc name + ".cdg", native
  std::string error;          // for kBadTime: the message for the user (GBK), naming the disc and the text
};

// Searches the lines of a piece of a snapshot's text (whole lines, ending at
// LF) and adds a row per matching line; false when it stopped at a matching
// line whose time is no date-time (report then tells why, naming disc_name).
bool SearchSnapshotLines(std::string_view text, std::string_view disc_name, NameMatcher& matcher,
                         SearchResults& results, DiscReport& report);

// Searches one disc: adds its header row and one row per matching line to results.
DiscReport SearchDisc(const std::string& data_folder, const DiscListEntry& disc, NameMatcher& matcher,
                      SearchResults& results);

// How a search over a disc list ended.
enum class SearchEnd {
  kCompleted,       // every disc was searched (missing ones reported and skipped)
  kCancelled,       // the callback asked to stop; the rows so far stay
  kStoppedAtBadTime,  // a matching line's time is no date-time; the rows so far stay
};

// Where a search over a disc list stands after one disc.
struct SearchProgress {
  size_t index = 0;  // of the disc just searched, in the list
  size_t count = 0;  // discs in the list
  const DiscListEntry* disc = nullptr;
  const DiscReport* report = nullptr;
};

// Called after each disc; return false to stop before the next one.
using SearchCallback = std::function<bool(const SearchProgress&)>;

// Searches the discs in list order, calling after_each (when set) after every
// disc, the missing ones and the one that stops the search included.
SearchEnd SearchDiscs(const std::string& data_folder, const std::vector<DiscListEntry>& discs,
                      NameMatcher& matcher, SearchResults& results, const SearchCallback& after_each);

}  // namespace movra
