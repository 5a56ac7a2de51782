// Duplicates across discs: files whose names (ASCII letters in either case,
// as the search compares them) and sizes are equal, found on two or more
// discs. Each group lists every copy; groups come in the order of the bytes
// their extra copies take, the most first. Texts are GBK.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "nameindex/NameIndex.h"
#include "platform/DateTime.h"
#include "search/DiscList.h"
#include "search/SearchResults.h"
#include "search/SnapshotSearch.h"

namespace movra {

// One copy of a duplicated file.
struct DuplicateCopy {
  std::size_t disc = 0;  // index of its disc in the searched list
  std::string folder;    // its folder with the trailing backslash ("E:\VIDEO\")
  std::string name;      // its name as recorded on that disc
  DateTime modified = 0;
};

// The copies of one file.
struct DuplicateGroup {
  std::int64_t size = 0;              // bytes of each copy
  std::vector<DuplicateCopy> copies;  // in disc order, then as recorded
  // The bytes the copies beyond the first take.
  std::int64_t ExtraBytes() const { return size * static_cast<std::int64_t>(copies.size() - 1); }
};

// What a search for duplicates found.
struct DuplicatesOutcome {
  SearchEnd end = SearchEnd::kCompleted;
  std::vector<DuplicateGroup> groups;
  std::vector<std::string> missing;  // messages for catalogued discs without their snapshot
  std::string message;               // for kStoppedAtBadTime: names the disc and quotes the text
};

// Called with the discs read so far and the number of reads in all; false stops the search.
using DuplicatesProgress = std::function<bool(std::size_t done, std::size_t count)>;

// Finds the files of at least min_size bytes that are on two or more of the
// discs. Each disc is read once, and the discs holding a candidate once more
// for its folder and name, so that memory stays small for millions of files.
// index (may be null) answers as for a search.
DuplicatesOutcome FindDuplicates(const std::string& data_folder, const std::vector<DiscListEntry>& discs,
                                 std::int64_t min_size, NameIndex* index, const DuplicatesProgress& progress = {});

// The groups as rows of the results list: per group a header
// ("movie.vob（3 份，多占 2.00 GB）") with the size of a copy, then each copy
// below the header row of its disc (captioned with disc_labels[copy.disc]),
// so that going to a copy finds its disc as for any result.
void AddDuplicateRows(const std::vector<DuplicateGroup>& groups, const std::vector<std::string>& disc_labels,
                      SearchResults& rows);

// The status text of a search for duplicates: 找到 12 组重复文件，多占 3.50 GB, or 没有找到重复文件.
std::string DuplicatesSummaryText(const std::vector<DuplicateGroup>& groups);

}  // namespace movra
