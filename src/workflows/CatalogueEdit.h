// Every change to the catalogue and the snapshot files runs inside an edit:
// it holds the home's lock from reading the catalogue as it is on disk to the
// rename of the new one, so that two programs writing one home (the window
// and movra-cli, or two of either) never lose each other's changes.
#pragma once

#include <chrono>
#include <functional>
#include <string>

#include "platform/FileLock.h"
#include "workflows/Workspace.h"

namespace movra {

// The home's lock as one front end uses it for its whole run.
struct HomeLock {
  std::string file;                              // the lock file (native), beside the catalogue
  std::chrono::milliseconds wait{10000};         // how long a writer waits for another one
  std::function<void()> reloaded;                // told when an edit read the catalogue again
  bool unsupported_told = false;                 // the user heard once that the home has no locks
};

// What the user is told once when the home's file system has no locks (GBK).
std::string NoLocksWarning();

// The lock file of a catalogue file: its name followed by ".lock".
std::string LockFileOf(const std::string& catalogue_file);

// Opens work.catalogue on catalogue_file under the home's lock and, when the
// file exists and reads, copies it byte for byte to backup_file (both
// native): the backup taken at start. kDone (also when there is no file
// yet); kCatalogueUnreadable: no backup is taken, the last good one stays;
// kFailed: the copy failed; kBusy: another program kept the home locked, the
// catalogue is opened all the same and no backup is taken.
WorkflowResult BackUpCatalogue(Workspace& work, const std::string& catalogue_file, const std::string& backup_file);

class CatalogueEdit {
 public:
  // Takes the home's lock (when the workspace has one: without it nothing
  // below happens) and, when another program changed the catalogue file
  // since it was read or written here, reads it again and tells the home's reloaded callback. A home whose file
  // system has no locks goes on without one and says so once (warning()).
  static CatalogueEdit Begin(Workspace& work);

  // kDone when the edit may go on; kBusy or kCatalogueUnreadable with the message otherwise.
  const WorkflowResult& result() const { return result_; }
  // True when the edit may go on.
  bool ok() const { return result_.ok(); }
  // True when the catalogue was read again for this edit.
  bool reloaded() const { return reloaded_; }
  // What to tell the user once besides the outcome (GBK); empty when nothing.
  const std::string& warning() const { return warning_; }
  // Ends the edit: releases the lock and gives result with the edit's warning.
  WorkflowResult Finish(WorkflowResult result);
  // Finish with the edit's own refusal (for an edit that may not go on).
  WorkflowResult Refusal() { return Finish(result_); }

 private:
  friend WorkflowResult BackUpCatalogue(Workspace&, const std::string&, const std::string&);
  // Takes the home's lock (when there is one), without looking at the catalogue.
  static CatalogueEdit Lock(Workspace& work);

  FileLock lock_;
  WorkflowResult result_;
  bool reloaded_ = false;
  std::string warning_;
};

}  // namespace movra
