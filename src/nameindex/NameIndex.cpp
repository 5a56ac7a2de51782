#include "nameindex/NameIndex.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>

#include "nameindex/Trigrams.h"
#include "platform/FileSystem.h"
#include "platform/TextCodec.h"

namespace movra {
namespace {

const char kSegmentSuffix[] = ".idx";
const char kSnapshotSuffix[] = ".cdg";
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

// Reads the byte ranges of a file that must still have stamp into one
// buffer; the pieces in order, or nothing when the file is gone, changed or short.
std::optional<std::vector<std::string_view>> ReadRanges(const std::string& native_path, const SnapshotStamp& stamp,
                                                        const std::vector<std::pair<std::uint64_t, std::uint64_t>>& ranges,
                                                        std::string& buffer) {
  const int fd = ::open(native_path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return std::nullopt;
  struct stat st;
  bool ok = ::fstat(fd, &st) == 0 && static_cast<std::uint64_t>(st.st_ino) == stamp.inode &&
            static_cast<std::uint64_t>(st.st_dev) == stamp.device &&
            static_cast<std::uint64_t>(st.st_size) == stamp.size;
  size_t total = 0;
  for (const auto& [begin, end] : ranges) total += end - begin;
  buffer.resize(total);
  std::vector<std::string_view> pieces;
  size_t at = 0;
  for (size_t r = 0; ok && r < ranges.size(); ++r) {
    const size_t length = ranges[r].second - ranges[r].first;
    size_t done = 0;
    while (done < length) {
      const ssize_t n = ::pread(fd, buffer.data() + at + done, length - done, static_cast<off_t>(ranges[r].first + done));
      if (n <= 0) {
        if (n < 0 && errno == EINTR) continue;
        ok = false;
        break;
      }
      done += static_cast<size_t>(n);
    }
    pieces.emplace_back(buffer.data() + at, length);
    at += length;
  }
  ::close(fd);
  if (!ok) return std::nullopt;
  return pieces;
}

}  // namespace

// A segment file mapped into memory, with its checked view.
struct NameIndex::Mapping {
  void* address = nullptr;
  size_t length = 0;
  std::optional<SegmentView> view;
  ~Mapping() {
    if (address != nullptr) ::munmap(address, length);
  }
};

NameIndex::NameIndex(std::string data_folder, FileSystem* files)
    : data_folder_(std::move(data_folder)), index_folder_(data_folder_ + ".index/"), files_(files) {}

NameIndex::~NameIndex() = default;

bool NameIndex::Complete() const { return Files().FileExists(index_folder_ + kCompleteMark); }

std::string NameIndex::SegmentPath(std::string_view disc_name) const {
  return NativeJoin(index_folder_, std::string(disc_name) + kSegmentSuffix);
}

std::string NameIndex::SnapshotPath(std::string_view disc_name) const {
  return SnapshotPathOf(data_folder_, std::string(disc_name));
}

std::vector<std::string> NameIndex::SnapshotDiscs() const { return StemsIn(data_folder_, kSnapshotSuffix); }

void NameIndex::Forget(const std::string& disc_name) { mapped_.erase(disc_name); }

const SegmentView* NameIndex::Segment(const std::string& disc_name, bool reload) {
  if (!reload) {
    const auto found = mapped_.find(disc_name);
    if (found != mapped_.end()) return &*found->second->view;
  }
  Forget(disc_name);
  const int fd = ::open(SegmentPath(disc_name).c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return nullptr;
  struct stat st;
  auto mapping = std::make_unique<Mapping>();
  if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && st.st_size > 0) {
    mapping->length = static_cast<size_t>(st.st_size);
    // Every page is read at once for the checksum, so read them in one go.
    void* address = ::mmap(nullptr, mapping->length, PROT_READ, MAP_PRIVATE | MAP_POPULATE, fd, 0);
    if (address != MAP_FAILED) mapping->address = address;
  }
  ::close(fd);
  if (mapping->address == nullptr) return nullptr;
  mapping->view = SegmentView::Open(std::string_view(static_cast<const char*>(mapping->address), mapping->length));
  if (!mapping->view) return nullptr;
  const SegmentView* view = &*mapping->view;
  mapped_[disc_name] = std::move(mapping);
  return view;
}

SegmentUpdate NameIndex::UpdateDisc(std::string_view disc) {
  const std::string name(disc);
  const std::string native = SnapshotPath(name);
  const std::optional<SnapshotStamp> before = StampOfFile(native);
  if (!before) {
    RemoveDisc(name);
    return SegmentUpdate::kRemoved;
  }
  const SegmentView* current = Segment(name, true);
  if (current != nullptr && current->Stamp() == *before && !current->Uncertain()) return SegmentUpdate::kCurrent;

  const std::optional<std::string> bytes = Files().ReadFile(SnapshotPath(name));
  const std::optional<SnapshotStamp> after = StampOfFile(native);
  if (!bytes || !after) {
    RemoveDisc(name);
    return SegmentUpdate::kRemoved;
  }
  // A file that changed while it was read, or so recently that a change
  // could hide in the clock's granularity, gets a segment that is not
  // trusted until it is built again later.
  const bool uncertain = *after != *before || IsRecent(*after, recent_window_ns_);
  const std::string segment = BuildSegment(*bytes, *after, uncertain);
  ::mkdir(index_folder_.c_str(), 0755);
  Forget(name);
  // The index can always be rebuilt, so its files need no flush to the disk:
  // a segment cut short by a crash fails its checksum and is built again.
  if (!Files().WriteFileAtomic(SegmentPath(name), segment, false)) return SegmentUpdate::kFailed;
  if (!StampOfFile(native)) {  // the disc was deleted meanwhile
    RemoveDisc(name);
    return SegmentUpdate::kRemoved;
  }
  return SegmentUpdate::kBuilt;
}

void NameIndex::RemoveDisc(std::string_view disc_name) {
  Forget(std::string(disc_name));
  Files().DeleteFile(SegmentPath(disc_name));
}

bool NameIndex::UpdateAll(const UpdateProgress& progress) {
  const std::vector<std::string> discs = SnapshotDiscs();
  for (size_t i = 0; i < discs.size(); ++i) {
    if (progress && !progress(i, discs.size())) return false;
    UpdateDisc(discs[i]);
  }
  for (const std::string& stem : StemsIn(index_folder_, kSegmentSuffix))
    if (!std::binary_search(discs.begin(), discs.end(), stem)) RemoveDisc(stem);
  ::mkdir(index_folder_.c_str(), 0755);
  Files().WriteFileAtomic(index_folder_ + kCompleteMark, "1\n", false);
  if (progress) progress(discs.size(), discs.size());
  return true;
}

bool NameIndex::Rebuild(const UpdateProgress& progress) {
  Files().DeleteFile(index_folder_ + kCompleteMark);
  for (const std::string& stem : StemsIn(index_folder_, kSegmentSuffix)) RemoveDisc(stem);
  return UpdateAll(progress);
}

IndexStatus NameIndex::Status() {
  IndexStatus status;
  status.complete = Complete();
  const std::vector<std::string> discs = SnapshotDiscs();
  status.snapshots = discs.size();
  for (const std::string& disc : discs) {
    const std::optional<SnapshotStamp> stamp = StampOfFile(SnapshotPath(disc));
    if (stamp) status.snapshot_bytes += stamp->size;
    const SegmentView* segment = Segment(disc, true);
    if (segment == nullptr) ++status.missing;
    else if (stamp && segment->Stamp() == *stamp && !segment->Uncertain()) ++status.current;
    else ++status.stale;
  }
  for (const std::string& stem : StemsIn(index_folder_, kSegmentSuffix)) {
    if (!std::binary_search(discs.begin(), discs.end(), stem)) ++status.orphans;
    struct stat st;
    if (::stat(SegmentPath(stem).c_str(), &st) == 0) status.index_bytes += static_cast<std::uint64_t>(st.st_size);
  }
  return status;
}

std::optional<DiscReport> NameIndex::SearchDisc(const DiscListEntry& disc, NameMatcher& matcher,
                                                const std::vector<std::uint32_t>& keys, SearchResults& results) {
  const SegmentView* segment = Segment(disc.disc_name, false);
  if (segment == nullptr) return std::nullopt;
  const std::string path = SnapshotPath(disc.disc_name);
  const std::string native = path;
  const std::optional<SnapshotStamp> stamp = StampOfFile(native);
  if (!stamp) return std::nullopt;
  if (*stamp != segment->Stamp()) {
    // Another object (a builder, another process) may have brought it in step.
    segment = Segment(disc.disc_name, true);
    if (segment == nullptr || *stamp != segment->Stamp()) return std::nullopt;
  }
  if (segment->Uncertain()) return std::nullopt;
  const auto ranges = segment->CandidateRanges(keys);
  if (!ranges) {
    Forget(disc.disc_name);
    return std::nullopt;
  }
  DiscReport report;
  report.snapshot_path = path;
  std::string buffer;
  std::vector<std::string_view> pieces;
  if (!ranges->empty()) {
    auto read = ReadRanges(native, *stamp, *ranges, buffer);
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
  const std::vector<std::uint32_t> keys = index ? QueryTrigrams(matcher.RequiredText()) : std::vector<std::uint32_t>{};
  if (keys.empty()) return SearchDiscs(data_folder, discs, matcher, results, after_each);
  for (size_t i = 0; i < discs.size(); ++i) {
    std::optional<DiscReport> report = index->SearchDisc(discs[i], matcher, keys, results);
    if (!report) {
      report = SearchDisc(data_folder, discs[i], matcher, results);
      if (stale && report->outcome != DiscOutcome::kMissing) stale->push_back(discs[i].disc_name);
    }
    const bool go_on = !after_each || after_each(SearchProgress{i, discs.size(), &discs[i], &*report});
    if (report->outcome == DiscOutcome::kBadTime) return SearchEnd::kStoppedAtBadTime;
    if (!go_on && i + 1 < discs.size()) return SearchEnd::kCancelled;
  }
  return SearchEnd::kCompleted;
}

}  // namespace movra
