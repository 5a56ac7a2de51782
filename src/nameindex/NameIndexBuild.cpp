// Building the name index: one disc's own segment, or the merged segment
// of every disc, made on a few threads.
#include <algorithm>
#include <atomic>

#include "nameindex/NameIndex.h"
#include "nameindex/ParallelFor.h"
#include "nameindex/SegmentBuilder.h"
#include "platform/FileStamp.h"

namespace movra {

SegmentUpdate NameIndex::UpdateDisc(std::string_view disc) {
  const Writer writer(*this);
  if (!writer) return SegmentUpdate::kBusy;
  const std::string name(disc);
  const std::string native = SnapshotPath(name);
  const std::optional<SnapshotStamp> before = StampOfFile(native);
  if (!before) {
    RemoveDisc(name);
    return SegmentUpdate::kRemoved;
  }
  RefreshMerged();
  if (Source(name, *before)) return SegmentUpdate::kCurrent;

  const std::optional<std::string> bytes = Files().ReadFile(native);
  const std::optional<SnapshotStamp> after = StampOfFile(native);
  if (!bytes || !after) {
    RemoveDisc(name);
    return SegmentUpdate::kRemoved;
  }
  // A file that changed while it was read, or so recently that a change
  // could hide in the clock's granularity, gets postings that are not
  // trusted until they are made again later.
  const bool uncertain = *after != *before || IsRecent(*after, recent_window_ns_);
  std::vector<DiscPostings> one;
  one.push_back(PostingsExtractor().Extract(name, *bytes, *after, uncertain));
  const SegmentBytes segment = WriteSegment(one);
  MakeIndexFolder();
  own_.erase(name);
  // The index can always be rebuilt, so its files need no flush to the disk:
  // a segment cut short by a crash fails its checks and is built again.
  if (!Files().WriteFileAtomic(SegmentPath(name), std::string_view(segment.data(), segment.size()), false))
    return SegmentUpdate::kFailed;
  if (!StampOfFile(native)) {  // the disc was deleted meanwhile
    RemoveDisc(name);
    return SegmentUpdate::kRemoved;
  }
  return SegmentUpdate::kBuilt;
}

bool NameIndex::BuildMerged(const std::vector<std::string>& discs, const UpdateProgress& progress) {
  std::vector<std::optional<DiscPostings>> postings(discs.size());
  std::atomic<size_t> done{0};
  std::atomic<bool> stopped{false};
  const unsigned threads = WorkerThreads();
  // Takes the postings of the discs at these positions, leaving out the
  // common keys if given; only the calling thread reports progress.
  auto extract = [&](const std::vector<size_t>& positions, const KeySet* common) {
    std::vector<PostingsExtractor> extractors(threads, PostingsExtractor(common));
    std::vector<std::string> storage(threads);
    ParallelFor(positions.size(), threads, [&](size_t n, unsigned worker) {
      if (stopped) return;
      if (worker == 0 && progress && !progress(done, discs.size())) {
        stopped = true;
        return;
      }
      const size_t i = positions[n];
      const std::string native = SnapshotPath(discs[i]);
      const std::optional<SnapshotStamp> before = StampOfFile(native);
      const std::optional<std::string_view> bytes = Files().ReadFileInto(native, storage[worker]);
      const std::optional<SnapshotStamp> after = StampOfFile(native);
      if (bytes && after) {  // a disc deleted meanwhile is left out
        const bool uncertain = !before || *after != *before || IsRecent(*after, recent_window_ns_);
        postings[i] = extractors[worker].Extract(discs[i], *bytes, *after, uncertain);
      }
      ++done;
    });
    // A stop asked for at the last disc still stops the build.
    if (!stopped && progress && !progress(done, discs.size())) stopped = true;
  };
  // A sample spread over the discs tells the common keys first, so that the
  // other discs are taken apart without making their records.
  constexpr size_t kSampleDiscs = 32;
  const size_t stride = std::max<size_t>(1, discs.size() / kSampleDiscs);
  std::vector<size_t> sample;
  std::vector<size_t> others;
  for (size_t i = 0; i < discs.size(); ++i) (i % stride == 0 ? sample : others).push_back(i);
  extract(sample, nullptr);
  if (stopped) return false;
  std::vector<const DiscPostings*> sampled;
  for (size_t i : sample)
    if (postings[i]) sampled.push_back(&*postings[i]);
  const KeySet common = CommonKeys(sampled);
  extract(others, &common);
  if (stopped) return false;

  SegmentBytes segment;
  {
    std::vector<DiscPostings> present;
    for (std::optional<DiscPostings>& p : postings)
      if (p) present.push_back(std::move(*p));
    postings.clear();
    SegmentOptions options;
    options.common = &common;
    segment = WriteSegment(present, options);
  }
  MakeIndexFolder();
  merged_.reset();
  const bool written = Files().WriteFileAtomic(MergedPath(), std::string_view(segment.data(), segment.size()), false);
  RefreshMerged();
  return written;
}

void NameIndex::DropCoveredSegments(const std::vector<std::string>& discs) {
  for (const std::string& stem : OwnSegmentDiscs()) {
    const std::optional<SnapshotStamp> stamp = StampOfFile(SnapshotPath(stem));
    if (!stamp || !std::binary_search(discs.begin(), discs.end(), stem) || MergedVouches(stem, *stamp))
      RemoveDisc(stem);
  }
}

bool NameIndex::UpdateAll(const UpdateProgress& progress) {
  const Writer writer(*this);
  if (!writer) return false;
  const std::vector<std::string> discs = SnapshotDiscs();
  RefreshMerged();
  std::vector<std::string> changed;
  for (const std::string& disc : discs) {
    const std::optional<SnapshotStamp> stamp = StampOfFile(SnapshotPath(disc));
    if (stamp && !MergedVouches(disc, *stamp)) changed.push_back(disc);
  }
  if (!merged_ || changed.size() > std::max(kFewDiscs, discs.size() / 16)) {
    if (!BuildMerged(discs, progress)) return false;
  } else {
    for (size_t i = 0; i < changed.size(); ++i) {
      if (progress && !progress(i, changed.size())) return false;
      UpdateDisc(changed[i]);
    }
  }
  DropCoveredSegments(discs);
  MakeIndexFolder();
  Files().WriteFileAtomic(CompleteMarkPath(), "1\n", false);
  if (progress) progress(discs.size(), discs.size());
  return true;
}

bool NameIndex::Rebuild(const UpdateProgress& progress) {
  const Writer writer(*this);
  if (!writer) return false;
  Files().DeleteFile(CompleteMarkPath());
  merged_.reset();
  Files().DeleteFile(MergedPath());
  for (const std::string& stem : OwnSegmentDiscs()) RemoveDisc(stem);
  return UpdateAll(progress);
}

void NameIndex::CatchUp(const std::vector<std::string>& discs) {
  const Writer writer(*this);
  if (!writer) return;
  if (discs.size() > kFewDiscs) {
    UpdateAll(nullptr);
    return;
  }
  for (const std::string& disc : discs) UpdateDisc(disc);
}

}  // namespace movra
