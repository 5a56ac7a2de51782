// Searching with the name index: the candidate lines of each disc whose
// segment vouches for its snapshot, the snapshot itself for the others.
#include <algorithm>

#include "nameindex/NameIndex.h"
#include "nameindex/SnapshotLines.h"
#include "nameindex/Trigrams.h"
#include "platform/FileStamp.h"

namespace movra {

void NameIndex::BeginSearch(std::vector<std::uint32_t> keys, const std::vector<DiscListEntry>& discs) {
  EndSearch();
  keys_ = std::move(keys);
  searching_ = true;
  RefreshMerged();
  if (!merged_) return;
  // Only the blocks from the first to the last searched disc are decoded.
  merged_range_ = {UINT32_MAX, 0};
  for (const DiscListEntry& disc : discs) {
    const SegmentDisc* entry = merged_->view.FindDisc(disc.disc_name);
    if (entry == nullptr) continue;
    merged_range_.first = std::min(merged_range_.first, entry->first_block);
    merged_range_.second = std::max(merged_range_.second, entry->first_block + entry->BlockCount());
  }
  merged_blocks_ = merged_->view.CandidateBlocks(keys_, merged_range_.first, merged_range_.second);
  if (!*merged_blocks_) return;
  // A hint only: a disc whose snapshot changed meanwhile is read whole later.
  constexpr size_t kMostPrefetched = 256;  // files kept open
  for (const DiscListEntry& disc : discs) {
    if (prefetched_.size() == kMostPrefetched) break;
    const SegmentDisc* entry = merged_->view.FindDisc(disc.disc_name);
    if (entry == nullptr || prefetched_.count(disc.disc_name) != 0) continue;
    const TextRanges ranges = BlockRanges(*entry, **merged_blocks_);
    if (ranges.empty()) continue;
    std::optional<ReadOnlyFile> file = ReadOnlyFile::Open(data_folder_ + SnapshotFileName(disc.disc_name));
    if (!file) continue;
    PrefetchRanges(*file, ranges);
    prefetched_.emplace(disc.disc_name, std::move(*file));
  }
}

void NameIndex::EndSearch() {
  prefetched_.clear();
  merged_blocks_.reset();
  searching_ = false;
}

std::optional<DiscReport> NameIndex::SearchDisc(const DiscListEntry& disc, NameMatcher& matcher,
                                                SearchResults& results) {
  if (!searching_) return std::nullopt;
  const std::string path = data_folder_ + SnapshotFileName(disc.disc_name);
  const std::optional<SnapshotStamp> stamp = StampOfFile(path);
  if (!stamp) return std::nullopt;
  const auto source = Source(disc.disc_name, *stamp);
  if (!source) return std::nullopt;
  const auto [mapping, entry] = *source;

  // The merged segment answers a search once for all its discs.
  std::optional<std::vector<std::uint32_t>> own_blocks;
  const std::optional<std::vector<std::uint32_t>>* blocks = &own_blocks;
  if (mapping == merged_.get()) {
    if (!merged_blocks_)
      merged_blocks_ = mapping->view.CandidateBlocks(keys_, merged_range_.first, merged_range_.second);
    blocks = &*merged_blocks_;
  } else {
    own_blocks = mapping->view.CandidateBlocks(keys_);
  }
  if (!*blocks) {  // damaged: never trusted again
    if (mapping == merged_.get()) {
      // Unless another object has replaced the file meanwhile.
      if (StampOfFile(MergedPath()) == merged_->file.Stamp()) Files().DeleteFile(MergedPath());
      merged_.reset();
      merged_blocks_.reset();
    } else {
      RemoveDisc(disc.disc_name);
    }
    return std::nullopt;
  }
  const auto ranges = BlockRanges(*entry, **blocks);
  DiscReport report;
  report.snapshot_path = path;
  std::vector<std::string_view> pieces;
  if (!ranges.empty()) {
    std::optional<ReadOnlyFile> file;
    if (const auto kept = prefetched_.find(disc.disc_name); kept != prefetched_.end()) {
      file = std::move(kept->second);
      prefetched_.erase(kept);
    } else {
      file = ReadOnlyFile::Open(path);
      if (file) PrefetchRanges(*file, ranges);
    }
    if (!file) return std::nullopt;
    auto read = ReadLinesInRanges(*file, *stamp, entry->text_size, ranges, read_buffer_);
    if (!read) return std::nullopt;
    pieces = std::move(*read);
  }
  results.AddDisc(disc.Text());
  for (std::string_view piece : pieces)
    if (!SearchSnapshotLines(piece, disc.disc_name, matcher, results, report)) break;
  return report;
}

SearchEnd SearchDiscs(const std::string& data_folder, const std::vector<DiscListEntry>& discs,
                      NameMatcher& matcher, SearchResults& results, const SearchCallback& after_each,
                      NameIndex* index, std::vector<std::string>* stale) {
  std::vector<std::uint32_t> keys = index ? QueryKeys(matcher.RequiredText()) : std::vector<std::uint32_t>{};
  if (keys.empty()) return SearchDiscs(data_folder, discs, matcher, results, after_each);
  index->BeginSearch(std::move(keys), discs);
  SearchEnd end = SearchEnd::kCompleted;
  for (size_t i = 0; i < discs.size(); ++i) {
    std::optional<DiscReport> report = index->SearchDisc(discs[i], matcher, results);
    if (!report) {
      report = SearchDisc(data_folder, discs[i], matcher, results);
      if (stale && report->outcome != DiscOutcome::kMissing) stale->push_back(discs[i].disc_name);
    }
    const bool go_on = !after_each || after_each(SearchProgress{i, discs.size(), &discs[i], &*report});
    if (report->outcome == DiscOutcome::kBadTime) {
      end = SearchEnd::kStoppedAtBadTime;
      break;
    }
    if (!go_on && i + 1 < discs.size()) {
      end = SearchEnd::kCancelled;
      break;
    }
  }
  index->EndSearch();
  return end;
}

}  // namespace movra
