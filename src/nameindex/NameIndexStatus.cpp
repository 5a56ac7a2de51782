// The account of the name index against the data folder.
#include <algorithm>

#include "nameindex/NameIndex.h"
#include "platform/FileStamp.h"

namespace movra {

IndexStatus NameIndex::Status() {
  IndexStatus status;
  status.complete = Complete();
  const std::vector<std::string> discs = SnapshotDiscs();
  status.snapshots = discs.size();
  RefreshMerged();
  // Unlike a search, which checks the pages it reads, the account checks them all.
  if (merged_ && !merged_->view.CheckAll()) merged_.reset();
  for (const std::string& disc : discs) {
    const std::optional<SnapshotStamp> stamp = StampOfFile(SnapshotPath(disc));
    if (stamp) status.snapshot_bytes += stamp->size;
    const MappedSegment* own = DiscSegment(disc, true);
    const SegmentDisc* own_entry = own != nullptr && own->view.CheckAll() ? own->view.FindDisc(disc) : nullptr;
    if (stamp && ((own_entry != nullptr && own_entry->Vouches(*stamp)) || MergedVouches(disc, *stamp)))
      ++status.current;
    else if (own_entry != nullptr || (merged_ && merged_->view.FindDisc(disc))) ++status.stale;
    else ++status.missing;
  }
  const std::vector<std::string> own = OwnSegmentDiscs();
  for (const std::string& stem : own) {
    if (!std::binary_search(discs.begin(), discs.end(), stem)) ++status.orphans;
    if (const auto segment = StampOfFile(SegmentPath(stem))) status.index_bytes += segment->size;
  }
  if (merged_) {
    for (const SegmentDisc& entry : merged_->view.Discs())
      if (!std::binary_search(discs.begin(), discs.end(), entry.name) &&
          !std::binary_search(own.begin(), own.end(), entry.name))
        ++status.orphans;
    status.index_bytes += merged_->file.Bytes().size();
  }
  return status;
}

}  // namespace movra
