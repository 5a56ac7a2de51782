// What every catalogue workflow works on: the catalogue document of the run,
// the data folder of its snapshots and who is told about snapshot changes.
// The window and movra-cli each make one over their own state.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

#include "catalog/CatalogueDocument.h"
#include "snapshot/SnapshotObserver.h"

namespace movra {

struct HomeLock;

struct Workspace {
  CatalogueDocument& catalogue;          // opened on the catalogue file
  std::filesystem::path data_folder;     // native path of CDROM
  SnapshotObserver* observer = nullptr;  // may be null
  HomeLock* home = nullptr;              // the home's lock; null: edits take no lock
};

// How a workflow ended.
enum class Outcome {
  kDone,                 // everything happened and is on disk
  kCancelled,            // the user stopped it; nothing changed
  kCatalogueUnreadable,  // the catalogue could not be read at start: no edit is saved this run
  kRefused,              // the input failed a check; nothing changed
  kNotFound,             // the path names nothing in the catalogue; nothing changed
  kNothingFound,         // the scan found no folder or file; nothing changed
  kFailed,               // a file could not be written, copied or created; nothing changed
  kSaveFailed,           // the catalogue could not be saved; files and memory are as on disk
  kBusy,                 // another program kept the home locked; nothing changed
};

// The outcome of a workflow with the message (GBK) the user is to be told;
// the message is empty when there is nothing to say.
struct WorkflowResult {
  Outcome outcome = Outcome::kDone;
  std::string message;
  std::string warning{};  // told once besides the outcome (GBK), such as a home without locks; usually empty
  // True for kDone.
  bool ok() const { return outcome == Outcome::kDone; }
};

// Refuses every edit while the catalogue has no document (it could not be
// read), with the message that says so; kDone otherwise.
WorkflowResult CheckEditable(const Workspace& work);

// Saves the catalogue. On failure the document is read back from the file
// (the in-memory change is dropped) and the result carries the save message;
// the caller undoes its own file changes before telling the user.
WorkflowResult SaveOrRestore(Workspace& work);

// The native path of a disc's snapshot file in the data folder.
std::filesystem::path SnapshotFileOf(const Workspace& work, std::string_view disc_name);

}  // namespace movra
