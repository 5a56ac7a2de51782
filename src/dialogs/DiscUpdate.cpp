#include "dialogs/DiscUpdate.h"

#include <optional>

#include "dialogs/DiscCataloguing.h"
#include "platform/FileSystem.h"
#include "snapshot/SnapshotFile.h"

namespace movra {

PreparedUpdate PrepareDiscUpdate(CatalogueDocument& doc, const DriveMap& drives, std::string_view data_folder,
                                 std::string_view disc_name, std::string_view source,
                                 const ScanCallback& progress) {
  PreparedUpdate prepared;
  if (disc_name.empty() || !doc.FindDiscElement("D_" + std::string(disc_name))) return prepared;
  auto update = std::make_unique<DiscUpdate>();
  update->disc_name = disc_name;
  update->snapshot_path = SnapshotPathOf(data_folder, disc_name);
  switch (ScanDisc(update->new_index, drives, source, progress)) {
    case DiscScanResult::kScanned:
      break;
    case DiscScanResult::kCancelled:
      prepared.result = UpdateScanResult::kCancelled;
      return prepared;
    case DiscScanResult::kNothingFound:
      prepared.result = UpdateScanResult::kNothingFound;
      return prepared;
    case DiscScanResult::kUnreadableImage:
      prepared.result = UpdateScanResult::kUnreadableImage;
      return prepared;
  }
  // A missing snapshot file leaves the old side empty: everything is new.
  ReadSnapshot(update->old_index, update->snapshot_path);
  update->diff = DiffSnapshots(update->old_index, update->new_index);
  prepared.result = UpdateScanResult::kReady;
  prepared.update = std::move(update);
  return prepared;
}

UpdateApplyResult ApplyDiscUpdate(CatalogueDocument& doc, const DiscUpdate& update, std::string_view time_text) {
  const Element disc = doc.FindDiscElement("D_" + update.disc_name);
  if (!disc) return UpdateApplyResult::kNoSuchDisc;
  // Kept so that a catalogue that cannot be saved gets its old snapshot back.
  const std::optional<std::string> old_bytes = Fs().ReadFile(update.snapshot_path);
  if (!WriteSnapshot(update.new_index, update.snapshot_path)) return UpdateApplyResult::kSnapshotNotWritten;

  const Element time = CatalogueDocument::FindChild(disc, "Time");
  const std::optional<std::string> old_time =
      time ? std::optional<std::string>(CatalogueDocument::ElementText(time)) : std::nullopt;
  doc.SetChildText(disc, "Time", time_text);
  if (doc.Save() != SaveResult::kFailed) return UpdateApplyResult::kReplaced;

  doc.SetChildText(disc, "Time", old_time.value_or(std::string()));
  if (old_bytes) {
    Fs().WriteFileAtomic(update.snapshot_path, *old_bytes);
  } else {
    Fs().DeleteFile(update.snapshot_path);
  }
  return UpdateApplyResult::kCatalogueNotSaved;
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
