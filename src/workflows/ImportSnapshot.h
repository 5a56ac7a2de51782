// Snapshot import without its dialogs: the checks of the chosen file and of
// the input, and the import itself (copy into the data folder first, then the
// catalogue entry, undone when the catalogue cannot be saved). Texts are GBK.
#pragma once

#include <string>

#include "workflows/DiscCataloguing.h"
#include "workflows/Workspace.h"

namespace movra {

// The message (GBK) for input Import refuses; empty for kNone.
std::string ImportRefusalText(DiscInputProblem problem);

// Checks that the chosen file (a path as Fs() takes it) reads through as a snapshot.
WorkflowResult CheckImportFile(const std::string& file);

// Checks the input of Import: an unreadable catalogue, then the dialog's
// checks (kRefused: the user may correct the input).
WorkflowResult CheckImport(Workspace& work, const DiscInput& input);

// Copies the file into the data folder (never over an existing file), then
// catalogues the disc under its category and saves. When the save fails the
// copy goes again and the catalogue is read back from disk.
WorkflowResult ImportSnapshotFile(Workspace& work, const std::string& file, const DiscInput& input);

}  // namespace movra
