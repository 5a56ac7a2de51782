// Snapshot export without its dialogs: the checks of the target folder and
// the disc, then the snapshot written into the folder as <name>.cdg.
#pragma once

#include <filesystem>
#include <string_view>

#include "snapshot/SnapshotIndex.h"
#include "workflows/Workspace.h"

namespace movra {

// What exporting did.
struct ExportResult {
  WorkflowResult result;
  bool index_loaded = false;  // the index holds exactly the disc's snapshot afterwards
};

// Writes the snapshot of disc_name (GBK) into folder (native). With
// index_holds_disc the index is written as it is; otherwise the disc's
// snapshot file is loaded into it first. Nothing is ever overwritten.
ExportResult ExportDisc(const Workspace& work, SnapshotIndex& index, bool index_holds_disc,
                        std::string_view disc_name, const std::filesystem::path& folder);

}  // namespace movra
