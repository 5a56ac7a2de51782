#include "workflows/UpdateDisc.h"

#include <optional>

#include "catalog/ElementNames.h"
#include "workflows/AddDisc.h"
#include "workflows/CatalogueEdit.h"
#include "workflows/DiscCataloguing.h"
#include "workflows/ScanRoot.h"
#include "platform/DataHome.h"
#include "platform/FileSystem.h"
#include "platform/TextCodec.h"
#include "snapshot/SnapshotFile.h"

namespace movra {
namespace {

WorkflowResult NoSuchDisc() { return {Outcome::kNotFound, Utf8ToGbk("无法在目录中找到选择的光盘！")}; }

}  // namespace

PreparedUpdate PrepareDiscUpdate(Workspace& work, const DriveMap& drives, std::string_view disc_name,
                                 std::string_view source, const ScanCallback& progress, const ScanExclusions& exclude) {
  PreparedUpdate prepared;
  if (WorkflowResult editable = CheckEditable(work); !editable.ok()) {
    prepared.result = editable;
    return prepared;
  }
  if (disc_name.empty() || !work.catalogue.FindDiscElement(DiscElementName(disc_name))) {
    prepared.result = NoSuchDisc();
    return prepared;
  }
  // The same rule as for a new disc: keys that could not lead back to the folder are never recorded.
  if (WorkflowResult root = CheckScanPath(drives, ScanTextOf(source)); !root.ok()) {
    prepared.result = root;
    return prepared;
  }
  auto update = std::make_unique<DiscUpdate>();
  update->disc_name = disc_name;
  update->snapshot_path = FsPathOf(SnapshotFileOf(work, disc_name));
  if (WorkflowResult scanned = ScanMedium(update->new_index, drives, source, progress, exclude); !scanned.ok()) {
    prepared.result = scanned;
    return prepared;
  }
  // A missing snapshot file leaves the old side empty: everything is new.
  ReadSnapshot(update->old_index, update->snapshot_path);
  update->diff = DiffSnapshots(update->old_index, update->new_index);
  prepared.update = std::move(update);
  return prepared;
}

WorkflowResult ApplyDiscUpdate(Workspace& work, const DiscUpdate& update, std::string_view time_text) {
  CatalogueEdit edit = CatalogueEdit::Begin(work);
  if (!edit.ok()) return edit.Refusal();
  // Another program may have deleted the disc while it was scanned.
  const Element disc = work.catalogue.FindDiscElement(DiscElementName(update.disc_name));
  if (!disc) return edit.Finish(NoSuchDisc());
  // Kept so that a catalogue that cannot be saved gets its old snapshot back.
  const std::optional<std::string> old_bytes = Fs().ReadFile(update.snapshot_path);
  if (!WriteSnapshot(update.new_index, update.snapshot_path)) {
    return edit.Finish({Outcome::kFailed, Utf8ToGbk("写入光盘快照文件时产生错误！")});
  }
  work.catalogue.SetChildText(disc, "Time", time_text);
  if (WorkflowResult saved = SaveOrRestore(work); !saved.ok()) {
    if (old_bytes) {
      Fs().WriteFileAtomic(update.snapshot_path, *old_bytes);
    } else {
      Fs().DeleteFile(update.snapshot_path);
    }
    return edit.Finish(saved);
  }
  WorkflowResult applied = edit.Finish({});
  if (work.observer) work.observer->SnapshotWritten(update.disc_name);
  return applied;
}

std::string ChangeLine(const SnapshotChange& change) {
  std::string line(1, change.kind == ChangeKind::kAdded ? '+' : change.kind == ChangeKind::kRemoved ? '-' : '~');
  line.push_back(' ');
  line.append(change.key);
  line.append(change.name);
  if (!change.isFile) line.push_back('\\');
  return line;
}

}  // namespace movra
