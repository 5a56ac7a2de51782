#include "workflows/FindDuplicates.h"

#define XXH_INLINE_ALL  // header-only, as the name index uses it
#include <xxhash.h>

#include <algorithm>
#include <map>
#include <tuple>
#include <unordered_map>

#include "browse/DisplayFormat.h"
#include "platform/TextCodec.h"
#include "search/NameMatcher.h"
#include "workflows/Search.h"

namespace movra {
namespace {

// What the first reading keeps of a file: the key of its folded name and size, and its disc.
struct Sighting {
  std::uint64_t key;
  std::uint32_t disc;
};

std::uint64_t KeyOf(std::string_view folded_name, std::int64_t size) {
  return XXH3_64bits_withSeed(folded_name.data(), folded_name.size(), static_cast<std::uint64_t>(size));
}

// Every file of the discs (at least min_size bytes), disc by disc, with the
// results emptied after each; visit gets the disc's index in discs.
SearchOutcome VisitFiles(const std::string& data_folder, const std::vector<DiscListEntry>& discs,
                         std::int64_t min_size, NameIndex* index, const DuplicatesProgress& progress,
                         std::size_t done_before, std::size_t count, std::vector<std::string>* missing,
                         const std::function<void(std::size_t disc, const SearchRow& row)>& visit) {
  SearchRequest request;
  request.conditions.kinds = EntryKinds::kFiles;
  if (min_size > 0) request.conditions.min_size = min_size;
  SearchResults results;
  return RunSearch(
      data_folder, discs, request, results,
      [&](const SearchStep& step) {
        if (!step.missing_message.empty() && missing != nullptr) missing->push_back(step.missing_message);
        for (std::size_t row = step.first_row; row < results.size(); ++row) {
          if (results[row].kind == RowKind::kFile) visit(step.index, results[row]);
        }
        results.Clear();
        return !progress || progress(done_before + step.index + 1, count);
      },
      index);
}

}  // namespace

DuplicatesOutcome FindDuplicates(const std::string& data_folder, const std::vector<DiscListEntry>& discs,
                                 std::int64_t min_size, NameIndex* index, const DuplicatesProgress& progress) {
  DuplicatesOutcome outcome;
  std::string folded;

  // First reading: a key per file; a key seen on two discs is a candidate.
  std::vector<Sighting> sightings;
  SearchOutcome read = VisitFiles(data_folder, discs, min_size, index, progress, 0, discs.size() * 2,
                                  &outcome.missing, [&](std::size_t disc, const SearchRow& row) {
                                    FoldAsciiCase(SearchResults::Name(row), folded);
                                    sightings.push_back({KeyOf(folded, row.size), static_cast<std::uint32_t>(disc)});
                                  });
  if (read.end != SearchEnd::kCompleted) {
    outcome.end = read.end;
    outcome.message = read.message;
    return outcome;
  }
  std::sort(sightings.begin(), sightings.end(),
            [](const Sighting& a, const Sighting& b) { return std::tie(a.key, a.disc) < std::tie(b.key, b.disc); });
  std::vector<std::uint64_t> candidates;
  std::vector<bool> holds_candidate(discs.size(), false);
  for (std::size_t i = 0; i < sightings.size();) {
    std::size_t end = i + 1;
    while (end < sightings.size() && sightings[end].key == sightings[i].key) ++end;
    if (sightings[end - 1].disc != sightings[i].disc) {
      candidates.push_back(sightings[i].key);
      for (std::size_t j = i; j < end; ++j) holds_candidate[sightings[j].disc] = true;
    }
    i = end;
  }
  sightings = {};

  // Second reading, of the discs that hold a candidate: the copies themselves.
  std::vector<DiscListEntry> second;
  std::vector<std::size_t> original;
  for (std::size_t i = 0; i < discs.size(); ++i) {
    if (!holds_candidate[i]) continue;
    second.push_back(discs[i]);
    original.push_back(i);
  }
  // Copies by key, then by folded name and size: equal keys of different files part here.
  std::unordered_map<std::uint64_t, std::map<std::pair<std::string, std::int64_t>, DuplicateGroup>> found;
  read = VisitFiles(data_folder, second, min_size, index, progress, discs.size(), discs.size() + second.size(),
                    nullptr, [&](std::size_t disc, const SearchRow& row) {
                      FoldAsciiCase(SearchResults::Name(row), folded);
                      const std::uint64_t key = KeyOf(folded, row.size);
                      if (!std::binary_search(candidates.begin(), candidates.end(), key)) return;
                      DuplicateGroup& group = found[key][{folded, row.size}];
                      group.size = row.size;
                      group.copies.push_back({original[disc], std::string(SearchResults::Folder(row)),
                                              std::string(SearchResults::Name(row)), row.modified});
                    });
  if (read.end != SearchEnd::kCompleted) {
    outcome.end = read.end;
    outcome.message = read.message;
    return outcome;
  }
  for (auto& [key, groups] : found) {
    for (auto& named : groups) {
      DuplicateGroup& group = named.second;
      const std::size_t first_disc = group.copies.front().disc;
      const auto other_disc = std::find_if(group.copies.begin(), group.copies.end(),
                                           [first_disc](const DuplicateCopy& copy) { return copy.disc != first_disc; });
      if (other_disc != group.copies.end()) outcome.groups.push_back(std::move(group));
    }
  }
  std::sort(outcome.groups.begin(), outcome.groups.end(), [](const DuplicateGroup& a, const DuplicateGroup& b) {
    if (a.ExtraBytes() != b.ExtraBytes()) return a.ExtraBytes() > b.ExtraBytes();
    if (a.size != b.size) return a.size > b.size;
    const DuplicateCopy& x = a.copies.front();
    const DuplicateCopy& y = b.copies.front();
    return std::tie(x.name, x.disc, x.folder) < std::tie(y.name, y.disc, y.folder);
  });
  return outcome;
}

void AddDuplicateRows(const std::vector<DuplicateGroup>& groups, const std::vector<std::string>& disc_labels,
                      SearchResults& rows) {
  for (const DuplicateGroup& group : groups) {
    rows.AddGroup(group.copies.front().name + Utf8ToGbk("（") + std::to_string(group.copies.size()) +
                      Utf8ToGbk(" 份，多占 ") + FormatSize(group.ExtraBytes()) + Utf8ToGbk("）"),
                  group.size);
    std::size_t disc = SIZE_MAX;
    for (const DuplicateCopy& copy : group.copies) {
      // Copies of one disc share its header row.
      if (copy.disc != disc) rows.AddDisc(disc_labels.at(copy.disc));
      disc = copy.disc;
      rows.AddEntry(true, copy.name, copy.folder, group.size, copy.modified);
    }
  }
}

std::string DuplicatesSummaryText(const std::vector<DuplicateGroup>& groups) {
  if (groups.empty()) return Utf8ToGbk("没有找到重复文件");
  std::int64_t extra = 0;
  for (const DuplicateGroup& group : groups) extra += group.ExtraBytes();
  return Utf8ToGbk("找到 ") + GroupedDigits(groups.size()) + Utf8ToGbk(" 组重复文件，多占 ") + FormatSize(extra);
}

}  // namespace movra
