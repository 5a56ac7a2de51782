// Moving snapshot files between installations: the checked copy that import
// makes into the data folder, and the file that export writes. Paths are native.
#pragma once

#include <string>
#include <string_view>

#include "snapshot/SnapshotIndex.h"

namespace movra {

// The disc name import proposes for a chosen file: the file name without its
// folder, cut before the first occurrence of its extension (A.CDG and
// A.CDG.CDG both give A).
std::string FileStemOf(std::string_view path);

// A file-dialog wildcard ("CDG Files(*.CDG)|*.CDG") whose patterns match
// names in either letter case ("*.[cC][dD][gG]"); the descriptions stay as
// they are. Snapshot files carry either case, and this program writes .cdg.
std::string CaseBlindWildcard(std::string_view wildcard);

// How bringing a snapshot file into the data folder ended.
enum class ImportCopyResult {
  kCopied,      // target now holds the file's bytes
  kUnreadable,  // from does not read through as a snapshot; nothing copied
  kCopyFailed,  // target exists already or could not be written; it is as it was
};

// Reads from into a scratch index to make sure it is a whole snapshot, then
// copies it byte for byte to target, never over an existing file.
ImportCopyResult CopySnapshotIn(const std::string& from, const std::string& target);

// What exporting did.
struct ExportOutcome {
  bool written = false;       // target holds the whole snapshot
  bool index_loaded = false;  // index holds exactly the source's snapshot afterwards
};

// Writes the snapshot of a disc to target. With index_holds_source the index
// is written as it is; otherwise source is loaded into index first. A source
// that does not read through is copied byte for byte instead, so that no
// entry is lost; the index then holds only its readable part.
ExportOutcome ExportSnapshot(SnapshotIndex& index, bool index_holds_source, const std::string& source,
                             const std::string& target);

}  // namespace movra
