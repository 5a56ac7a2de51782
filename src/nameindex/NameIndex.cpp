// The store of the name index: where its files lie, and which segment
// vouches for a disc's snapshot.
#include "nameindex/NameIndex.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "platform/FileStamp.h"
#include "platform/FileSystem.h"
#include "platform/TextCodec.h"

namespace movra {
namespace {

const char kSegmentSuffix[] = ".idx";
constexpr std::string_view kSnapshotSuffix = kSnapshotExtension;

// The GBK stems of the files in a folder whose native names end with
// suffix; names that do not come back unchanged from GBK are left out.
std::vector<std::string> StemsIn(const std::string& folder, std::string_view suffix) {
  std::vector<std::string> stems;
  std::error_code error;
  for (std::filesystem::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
    const std::u8string native = it->path().filename().u8string();
    const std::string_view name(reinterpret_cast<const char*>(native.data()), native.size());
    if (name.size() <= suffix.size() || !name.ends_with(suffix)) continue;
    const std::string_view stem = name.substr(0, name.size() - suffix.size());
    std::string gbk = Utf8ToGbk(stem);
    if (GbkToUtf8(gbk) == stem) stems.push_back(std::move(gbk));
  }
  std::sort(stems.begin(), stems.end());
  return stems;
}

}  // namespace

NameIndex::NameIndex(std::string data_folder, FileSystem* files)
    : data_folder_(std::move(data_folder)), index_folder_(data_folder_ + ".index/"), files_(files) {}

NameIndex::~NameIndex() { EndSearch(); }

NameIndex::Writer::Writer(NameIndex& index) : index_(index), entered_(true) {
  if (index_.writer_depth_++ > 0) return;
  index_.MakeIndexFolder();
  index_.writer_lock_ = FileLock::Acquire(index_.index_folder_ + "lock", index_.writer_wait_);
  // A folder without locks (or that cannot be written) is written as before.
  index_.writer_busy_ = index_.writer_lock_.state() == LockState::kBusy;
  if (index_.writer_busy_) {
    --index_.writer_depth_;
    entered_ = false;
  }
}

NameIndex::Writer::~Writer() {
  if (entered_ && --index_.writer_depth_ == 0) index_.writer_lock_.Release();
}

bool NameIndex::Complete() const { return Files().FileExists(CompleteMarkPath()); }

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

std::vector<std::string> NameIndex::OwnSegmentDiscs() const { return StemsIn(index_folder_, kSegmentSuffix); }

void NameIndex::MakeIndexFolder() const {
  // A folder that cannot be made shows when its segments cannot be written.
  std::error_code error;
  std::filesystem::create_directory(index_folder_, error);
}

void NameIndex::RefreshMerged() {
  const std::optional<SnapshotStamp> file = StampOfFile(MergedPath());
  if (merged_ && file && merged_->file.Stamp() == *file) return;
  merged_.reset();
  if (file) merged_ = MappedSegment::Open(MergedPath());
}

const MappedSegment* NameIndex::DiscSegment(const std::string& disc_name, bool reload) {
  if (!reload) {
    const auto found = own_.find(disc_name);
    if (found != own_.end()) return found->second.get();
  }
  own_.erase(disc_name);
  std::unique_ptr<MappedSegment> mapping = MappedSegment::Open(SegmentPath(disc_name));
  if (!mapping) return nullptr;
  return (own_[disc_name] = std::move(mapping)).get();
}

bool NameIndex::MergedVouches(const std::string& disc_name, const SnapshotStamp& stamp) const {
  const SegmentDisc* entry = merged_ ? merged_->view.FindDisc(disc_name) : nullptr;
  return entry != nullptr && entry->Vouches(stamp);
}

std::optional<std::pair<const MappedSegment*, const SegmentDisc*>> NameIndex::Source(const std::string& disc_name,
                                                                                    const SnapshotStamp& stamp) {
  // The disc's own segment is newer than the merged one; a mapped one that
  // no longer vouches may have been replaced by another object meanwhile.
  auto own = [&](bool reload) -> std::optional<std::pair<const MappedSegment*, const SegmentDisc*>> {
    const MappedSegment* mapping = DiscSegment(disc_name, reload);
    const SegmentDisc* entry = mapping ? mapping->view.FindDisc(disc_name) : nullptr;
    if (entry != nullptr && entry->Vouches(stamp)) return std::make_pair(mapping, entry);
    return std::nullopt;
  };
  if (own_.count(disc_name) != 0)
    if (auto found = own(false)) return found;
  if (MergedVouches(disc_name, stamp)) return std::make_pair(merged_.get(), merged_->view.FindDisc(disc_name));
  return own(true);
}

void NameIndex::RemoveDisc(std::string_view disc_name) {
  own_.erase(std::string(disc_name));
  if (!Files().FileExists(SegmentPath(disc_name))) return;
  const Writer writer(*this);
  if (!writer) return;
  Files().DeleteFile(SegmentPath(disc_name));
}

void NameIndex::SnapshotWritten(std::string_view disc_name) { UpdateDisc(disc_name); }

void NameIndex::SnapshotRemoved(std::string_view disc_name) { RemoveDisc(disc_name); }

}  // namespace movra
