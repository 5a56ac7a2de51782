#include "nameindex/NameIndex.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <thread>

#include "nameindex/SegmentBuilder.h"
#include "nameindex/SnapshotLines.h"
#include "nameindex/Trigrams.h"
#include "platform/FileSystem.h"
#include "platform/TextCodec.h"

namespace movra {
namespace {

const char kSegmentSuffix[] = ".idx";
constexpr std::string_view kSnapshotSuffix = kSnapshotExtension;
const char kCompleteMark[] = "complete";

// The GBK stems of the files in a folder whose native names end with
// suffix; names that do not come back unchanged from GBK are left out.
std::vector<std::string> StemsIn(const std::string& folder, std::string_view suffix) {
  std::vector<std::string> stems;
  DIR* dir = ::opendir(folder.c_str());
  if (dir == nullptr) return stems;
  while (const dirent* entry = ::readdir(dir)) {
    const std::string_view name = entry->d_name;
    if (name.size() <= suffix.size() || name.substr(name.size() - suffix.size()) != suffix) continue;
    const std::string_view stem = name.substr(0, name.size() - suffix.size());
    std::string gbk = Utf8ToGbk(stem);
    if (GbkToUtf8(gbk) == stem) stems.push_back(std::move(gbk));
  }
  ::closedir(dir);
  std::sort(stems.begin(), stems.end());
  return stems;
}

}  // namespace

// A segment file mapped into memory, with its checked view and the stamp of the file.
struct NameIndex::Mapping {
  void* address = nullptr;
  size_t length = 0;
  SnapshotStamp file;
  std::optional<SegmentView> view;
  ~Mapping() {
    if (address != nullptr) ::munmap(address, length);
  }
  // The mapped, checked segment at a path, or nullptr.
  static std::unique_ptr<Mapping> Open(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return nullptr;
    auto mapping = std::make_unique<Mapping>();
    struct stat st;
    if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && st.st_size > 0) {
      mapping->length = static_cast<size_t>(st.st_size);
      mapping->file = StampOf(st);
      void* address = ::mmap(nullptr, mapping->length, PROT_READ, MAP_PRIVATE, fd, 0);
      if (address != MAP_FAILED) {
        mapping->address = address;
        // A search reads a few lists; read-ahead around each would read the whole file.
        ::madvise(address, mapping->length, MADV_RANDOM);
      }
    }
    ::close(fd);
    if (mapping->address == nullptr) return nullptr;
    mapping->view = SegmentView::Open(std::string_view(static_cast<const char*>(mapping->address), mapping->length));
    return mapping->view ? std::move(mapping) : nullptr;
  }
};

NameIndex::NameIndex(std::string data_folder, FileSystem* files)
    : data_folder_(std::move(data_folder)), index_folder_(data_folder_ + ".index/"), files_(files) {}

NameIndex::~NameIndex() { EndSearch(); }

bool NameIndex::Complete() const { return Files().FileExists(index_folder_ + kCompleteMark); }

std::string NameIndex::SegmentPath(std::string_view disc_name) const {
  return NativeJoin(index_folder_, std::string(disc_name) + kSegmentSuffix);
}

std::string NameIndex::SnapshotPath(std::string_view disc_name) const {
  return SnapshotPathOf(data_folder_, std::string(disc_name));
}

const std::string& NameIndex::SnapshotFileName(const std::string& disc_name) {
  auto found = file_names_.find(disc_name);
  if (found == file_names_.end())
    found = file_names_.emplace(disc_name, SnapshotPathOf("", disc_name)).first;
  return found->second;
}

std::vector<std::string> NameIndex::SnapshotDiscs() const { return StemsIn(data_folder_, kSnapshotSuffix); }

void NameIndex::RefreshMerged() {
  const std::optional<SnapshotStamp> file = StampOfFile(MergedPath());
  if (merged_ && file && merged_->file == *file) return;
  merged_.reset();
  if (file) merged_ = Mapping::Open(MergedPath());
}

const NameIndex::Mapping* NameIndex::DiscSegment(const std::string& disc_name, bool reload) {
  if (!reload) {
    const auto found = own_.find(disc_name);
    if (found != own_.end()) return found->second.get();
  }
  own_.erase(disc_name);
  std::unique_ptr<Mapping> mapping = Mapping::Open(SegmentPath(disc_name));
  if (!mapping) return nullptr;
  return (own_[disc_name] = std::move(mapping)).get();
}

bool NameIndex::MergedVouches(const std::string& disc_name, const SnapshotStamp& stamp) const {
  const SegmentDisc* entry = merged_ ? merged_->view->FindDisc(disc_name) : nullptr;
  return entry != nullptr && entry->Vouches(stamp);
}

std::optional<std::pair<const NameIndex::Mapping*, const SegmentDisc*>> NameIndex::Source(
    const std::string& disc_name, const SnapshotStamp& stamp) {
  // The disc's own segment is newer than the merged one; a mapped one that
  // no longer vouches may have been replaced by another object meanwhile.
  auto own = [&](bool reload) -> std::optional<std::pair<const Mapping*, const SegmentDisc*>> {
    const Mapping* mapping = DiscSegment(disc_name, reload);
    const SegmentDisc* entry = mapping ? mapping->view->FindDisc(disc_name) : nullptr;
    if (entry != nullptr && entry->Vouches(stamp)) return std::make_pair(mapping, entry);
    return std::nullopt;
  };
  if (own_.count(disc_name) != 0)
    if (auto found = own(false)) return found;
  if (MergedVouches(disc_name, stamp)) return std::make_pair(merged_.get(), merged_->view->FindDisc(disc_name));
  return own(true);
}

SegmentUpdate NameIndex::UpdateDisc(std::string_view disc) {
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
  ::mkdir(index_folder_.c_str(), 0755);
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

void NameIndex::RemoveDisc(std::string_view disc_name) {
  own_.erase(std::string(disc_name));
  Files().DeleteFile(SegmentPath(disc_name));
}

bool NameIndex::BuildMerged(const std::vector<std::string>& discs, const UpdateProgress& progress) {
  std::vector<std::optional<DiscPostings>> postings(discs.size());
  std::atomic<size_t> done{0};
  std::atomic<bool> stopped{false};
  // Takes the postings of the discs at these positions, leaving out the
  // common keys if given. Each thread takes the next disc; only the calling
  // one reports progress.
  auto extract = [&](const std::vector<size_t>& positions, const KeySet* common) {
    std::atomic<size_t> next{0};
    auto work = [&](bool reports) {
      PostingsExtractor extractor(common);
      std::string storage;
      for (;;) {
        if (stopped) return;
        if (reports && progress && !progress(done, discs.size())) {
          stopped = true;
          return;
        }
        const size_t n = next++;
        if (n >= positions.size()) return;
        const size_t i = positions[n];
        const std::string native = SnapshotPath(discs[i]);
        const std::optional<SnapshotStamp> before = StampOfFile(native);
        const std::optional<std::string_view> bytes = Files().ReadFileInto(native, storage);
        const std::optional<SnapshotStamp> after = StampOfFile(native);
        if (bytes && after) {  // a disc deleted meanwhile is left out
          const bool uncertain = !before || *after != *before || IsRecent(*after, recent_window_ns_);
          postings[i] = extractor.Extract(discs[i], *bytes, *after, uncertain);
        }
        ++done;
      }
    };
    const unsigned helpers = std::clamp(std::thread::hardware_concurrency(), 1u, 4u) - 1;
    std::vector<std::thread> threads;
    for (unsigned t = 0; t < helpers && t + 1 < positions.size(); ++t) threads.emplace_back(work, false);
    work(true);
    for (std::thread& thread : threads) thread.join();
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
  ::mkdir(index_folder_.c_str(), 0755);
  merged_.reset();
  const bool written = Files().WriteFileAtomic(MergedPath(), std::string_view(segment.data(), segment.size()), false);
  RefreshMerged();
  return written;
}

void NameIndex::DropCoveredSegments(const std::vector<std::string>& discs) {
  for (const std::string& stem : StemsIn(index_folder_, kSegmentSuffix)) {
    const std::optional<SnapshotStamp> stamp = StampOfFile(SnapshotPath(stem));
    if (!stamp || !std::binary_search(discs.begin(), discs.end(), stem) || MergedVouches(stem, *stamp))
      RemoveDisc(stem);
  }
}

bool NameIndex::UpdateAll(const UpdateProgress& progress) {
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
  ::mkdir(index_folder_.c_str(), 0755);
  Files().WriteFileAtomic(index_folder_ + kCompleteMark, "1\n", false);
  if (progress) progress(discs.size(), discs.size());
  return true;
}

bool NameIndex::Rebuild(const UpdateProgress& progress) {
  Files().DeleteFile(index_folder_ + kCompleteMark);
  merged_.reset();
  Files().DeleteFile(MergedPath());
  for (const std::string& stem : StemsIn(index_folder_, kSegmentSuffix)) RemoveDisc(stem);
  return UpdateAll(progress);
}

void NameIndex::CatchUp(const std::vector<std::string>& discs) {
  if (discs.size() > kFewDiscs) {
    UpdateAll(nullptr);
    return;
  }
  for (const std::string& disc : discs) UpdateDisc(disc);
}

IndexStatus NameIndex::Status() {
  IndexStatus status;
  status.complete = Complete();
  const std::vector<std::string> discs = SnapshotDiscs();
  status.snapshots = discs.size();
  RefreshMerged();
  // Unlike a search, which checks the pages it reads, the account checks them all.
  if (merged_ && !merged_->view->CheckAll()) merged_.reset();
  for (const std::string& disc : discs) {
    const std::optional<SnapshotStamp> stamp = StampOfFile(SnapshotPath(disc));
    if (stamp) status.snapshot_bytes += stamp->size;
    const Mapping* own = DiscSegment(disc, true);
    const SegmentDisc* own_entry = own != nullptr && own->view->CheckAll() ? own->view->FindDisc(disc) : nullptr;
    if (stamp && ((own_entry != nullptr && own_entry->Vouches(*stamp)) || MergedVouches(disc, *stamp)))
      ++status.current;
    else if (own_entry != nullptr || (merged_ && merged_->view->FindDisc(disc))) ++status.stale;
    else ++status.missing;
  }
  const std::vector<std::string> own = StemsIn(index_folder_, kSegmentSuffix);
  for (const std::string& stem : own) {
    if (!std::binary_search(discs.begin(), discs.end(), stem)) ++status.orphans;
    if (const auto segment = StampOfFile(SegmentPath(stem))) status.index_bytes += segment->size;
  }
  if (merged_) {
    for (const SegmentDisc& entry : merged_->view->Discs())
      if (!std::binary_search(discs.begin(), discs.end(), entry.name) &&
          !std::binary_search(own.begin(), own.end(), entry.name))
        ++status.orphans;
    status.index_bytes += merged_->length;
  }
  return status;
}

void NameIndex::BeginSearch(std::vector<std::uint32_t> keys, const std::vector<DiscListEntry>& discs) {
  EndSearch();
  keys_ = std::move(keys);
  RefreshMerged();
  // Snapshots are looked up in the open folder, not by their whole path.
  data_fd_ = ::open(data_folder_.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (!merged_ || data_fd_ < 0) return;
  // Only the blocks from the first to the last searched disc are decoded.
  merged_range_ = {UINT32_MAX, 0};
  for (const DiscListEntry& disc : discs) {
    const SegmentDisc* entry = merged_->view->FindDisc(disc.disc_name);
    if (entry == nullptr) continue;
    merged_range_.first = std::min(merged_range_.first, entry->first_block);
    merged_range_.second = std::max(merged_range_.second, entry->first_block + entry->BlockCount());
  }
  merged_blocks_ = merged_->view->CandidateBlocks(keys_, merged_range_.first, merged_range_.second);
  if (!*merged_blocks_) return;
  // A hint only: a disc whose snapshot changed meanwhile is read whole later.
  constexpr size_t kMostPrefetched = 256;  // files kept open
  for (const DiscListEntry& disc : discs) {
    if (prefetched_.size() == kMostPrefetched) break;
    const SegmentDisc* entry = merged_->view->FindDisc(disc.disc_name);
    if (entry == nullptr || prefetched_.count(disc.disc_name) != 0) continue;
    const TextRanges ranges = BlockRanges(*entry, **merged_blocks_);
    if (ranges.empty()) continue;
    const int fd = ::openat(data_fd_, SnapshotFileName(disc.disc_name).c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) continue;
    PrefetchRanges(fd, ranges);
    prefetched_.emplace(disc.disc_name, fd);
  }
}

void NameIndex::EndSearch() {
  for (const auto& [name, fd] : prefetched_) ::close(fd);
  prefetched_.clear();
  merged_blocks_.reset();
  if (data_fd_ >= 0) ::close(data_fd_);
  data_fd_ = -1;
}

std::optional<DiscReport> NameIndex::SearchDisc(const DiscListEntry& disc, NameMatcher& matcher,
                                                SearchResults& results) {
  if (data_fd_ < 0) return std::nullopt;
  const std::string& file_name = SnapshotFileName(disc.disc_name);
  const std::optional<SnapshotStamp> stamp = StampOfFile(file_name, data_fd_);
  if (!stamp) return std::nullopt;
  const auto source = Source(disc.disc_name, *stamp);
  if (!source) return std::nullopt;
  const auto [mapping, entry] = *source;

  // The merged segment answers a search once for all its discs.
  std::optional<std::vector<std::uint32_t>> own_blocks;
  const std::optional<std::vector<std::uint32_t>>* blocks = &own_blocks;
  if (mapping == merged_.get()) {
    if (!merged_blocks_)
      merged_blocks_ = mapping->view->CandidateBlocks(keys_, merged_range_.first, merged_range_.second);
    blocks = &*merged_blocks_;
  } else {
    own_blocks = mapping->view->CandidateBlocks(keys_);
  }
  if (!*blocks) {  // damaged: never trusted again
    if (mapping == merged_.get()) {
      // Unless another object has replaced the file meanwhile.
      if (StampOfFile(MergedPath()) == merged_->file) Files().DeleteFile(MergedPath());
      merged_.reset();
      merged_blocks_.reset();
    } else {
      RemoveDisc(disc.disc_name);
    }
    return std::nullopt;
  }
  const auto ranges = BlockRanges(*entry, **blocks);
  DiscReport report;
  report.snapshot_path = data_folder_ + file_name;
  std::vector<std::string_view> pieces;
  if (!ranges.empty()) {
    int fd = -1;
    if (const auto kept = prefetched_.find(disc.disc_name); kept != prefetched_.end()) {
      fd = kept->second;
      prefetched_.erase(kept);
    } else {
      fd = ::openat(data_fd_, file_name.c_str(), O_RDONLY | O_CLOEXEC);
      if (fd >= 0) PrefetchRanges(fd, ranges);
    }
    if (fd < 0) return std::nullopt;
    auto read = ReadLinesInRanges(fd, *stamp, entry->text_size, ranges, read_buffer_);
    ::close(fd);
    if (!read) return std::nullopt;
    pieces = std::move(*read);
  }
  results.AddDisc(disc.Text());
  for (std::string_view piece : pieces)
    if (!SearchSnapshotLines(piece, disc.disc_name, matcher, results, report)) break;
  return report;
}

void NameIndex::SnapshotWritten(std::string_view disc_name) { UpdateDisc(disc_name); }

void NameIndex::SnapshotRemoved(std::string_view disc_name) { RemoveDisc(disc_name); }

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
