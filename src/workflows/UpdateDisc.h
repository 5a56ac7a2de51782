// Update disc without its dialogs: a catalogued disc (or folder) is scanned
// again from a folder or an image file and compared with its snapshot; on
// confirmation the snapshot is replaced while its title, memo and place in
// the catalogue stay, and its time becomes the time of the update. Texts are GBK.
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "platform/DriveMap.h"
#include "snapshot/Scanner.h"
#include "snapshot/SnapshotDiff.h"
#include "snapshot/SnapshotIndex.h"
#include "workflows/Workspace.h"

namespace movra {

// A rescanned disc waiting for the user's word. Not movable: the diff's
// texts point into the two indexes.
struct DiscUpdate {
  std::string disc_name;      // the disc's name (its element is D_ + name)
  std::string snapshot_path;  // the disc's snapshot file, as Fs() takes it
  SnapshotIndex old_index;    // the snapshot as catalogued (empty when its file is missing)
  SnapshotIndex new_index;    // the fresh scan
  SnapshotDiff diff;          // from old_index to new_index

  DiscUpdate() = default;
  DiscUpdate(const DiscUpdate&) = delete;
  DiscUpdate& operator=(const DiscUpdate&) = delete;
};

// The outcome of PrepareDiscUpdate; update is set when result is ok().
struct PreparedUpdate {
  WorkflowResult result;
  std::unique_ptr<DiscUpdate> update;
};

// Scans source (a drive path, a native folder path, or a disc image file)
// and compares it with the snapshot of disc_name. Changes nothing. Refused
// when the catalogue is unreadable; kNotFound for an unknown disc; kRefused
// for a source whose keys could not be recorded (CheckScanPath); kCancelled,
// kNothingFound, or kFailed for an unreadable image. Names exclude matches
// are left out of the new scan.
PreparedUpdate PrepareDiscUpdate(Workspace& work, const DriveMap& drives, std::string_view disc_name,
                                 std::string_view source, const ScanCallback& progress = {},
                                 const ScanExclusions& exclude = {});

// Replaces the disc's snapshot with the new scan and sets its Time to
// time_text, keeping Title, Memo and its place, then saves the catalogue and
// tells the observer. kFailed when the snapshot cannot be written, kSaveFailed
// when the catalogue cannot be saved (the old snapshot is put back); nothing
// has changed then.
WorkflowResult ApplyDiscUpdate(Workspace& work, const DiscUpdate& update, std::string_view time_text);

// One change as a line: "+", "-" or "~", a space and the entry's path (a
// folder's with a trailing backslash).
std::string ChangeLine(const SnapshotChange& change);

}  // namespace movra
