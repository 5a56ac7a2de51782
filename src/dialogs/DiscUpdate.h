// Update disc: a catalogued disc (or folder) is scanned again from a folder
// or an image file, the user sees what changed, and on confirmation its
// snapshot is replaced while its title, memo and place in the catalogue stay;
// its time becomes the time of the update. Texts are GBK.
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "catalog/CatalogueDocument.h"
#include "platform/DriveMap.h"
#include "snapshot/Scanner.h"
#include "snapshot/SnapshotDiff.h"
#include "snapshot/SnapshotIndex.h"

namespace movra {

// A rescanned disc waiting for the user's word. Not movable: the diff's
// texts point into the two indexes.
struct DiscUpdate {
  std::string disc_name;      // the disc's name (its element is D_ + name)
  std::string snapshot_path;  // the disc's snapshot file
  SnapshotIndex old_index;    // the snapshot as catalogued (empty when its file is missing)
  SnapshotIndex new_index;    // the fresh scan
  SnapshotDiff diff;          // from old_index to new_index

  DiscUpdate() = default;
  DiscUpdate(const DiscUpdate&) = delete;
  DiscUpdate& operator=(const DiscUpdate&) = delete;
};

// How preparing an update ended.
enum class UpdateScanResult {
  kReady,             // the update holds both snapshots and their differences
  kNoSuchDisc,        // no disc of that name is catalogued
  kCancelled,         // the user stopped the scan
  kNothingFound,      // the source holds no folder or file
  kUnreadableImage,   // the source is a file that is no readable disc image
};

// The outcome of PrepareDiscUpdate; update is set for kReady only.
struct PreparedUpdate {
  UpdateScanResult result = UpdateScanResult::kNoSuchDisc;
  std::unique_ptr<DiscUpdate> update;
};

// Scans source (a drive path, a native folder path, or a disc image file)
// and compares it with the snapshot of disc_name in data_folder. Changes nothing.
PreparedUpdate PrepareDiscUpdate(CatalogueDocument& doc, const DriveMap& drives, std::string_view data_folder,
                                 std::string_view disc_name, std::string_view source,
                                 const ScanCallback& progress = {});

// How applying an update ended.
enum class UpdateApplyResult {
  kReplaced,            // new snapshot on disk, Time set, catalogue saved
  kNoSuchDisc,          // the disc left the catalogue meanwhile; nothing changed
  kSnapshotNotWritten,  // the snapshot file could not be written; nothing changed
  kCatalogueNotSaved,   // the catalogue could not be saved; snapshot and Time were put back
};

// Replaces the disc's snapshot with the new scan and sets its Time to
// time_text, keeping Title, Memo and its place, then saves the catalogue.
UpdateApplyResult ApplyDiscUpdate(CatalogueDocument& doc, const DiscUpdate& update, std::string_view time_text);

// One change as a line: "+", "-" or "~", a space and the entry's path (a
// folder's with a trailing backslash).
std::string ChangeLine(const SnapshotChange& change);

}  // namespace movra
