// Told by the catalogue workflows whenever they change the snapshot files of
// the data folder, so that data derived from the snapshots (the name index)
// can keep in step. Disc names are GBK, as the catalogue stores them.
#pragma once

#include <string_view>

namespace movra {

class SnapshotObserver {
 public:
  virtual ~SnapshotObserver() = default;
  // The snapshot of disc_name was written or replaced (add, import, update).
  virtual void SnapshotWritten(std::string_view disc_name) = 0;
  // The snapshot of disc_name was removed (delete of a disc or of its category).
  virtual void SnapshotRemoved(std::string_view disc_name) = 0;
};

}  // namespace movra
