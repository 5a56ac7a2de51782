// Snapshot files (.cdg): one text line per index entry, greatest key first,
// every line ending in CR LF.
//   folder: key "|" name "[]" date-time
//   file:   key name "[" size "]" date-time
#pragma once

#include <string>
#include <string_view>

#include "snapshot/SnapshotIndex.h"

namespace movra {

// The whole file content for an index, exactly as WriteSnapshot stores it.
std::string SnapshotText(const SnapshotIndex& index);

// Writes the index to path (GBK) in one atomic step; true only when the whole
// file was written. On failure no file, or the previous one, is left at path.
bool WriteSnapshot(const SnapshotIndex& index, const std::string& path);

// Fills the index from the text of a snapshot file, after clearing it. Stops
// at the first empty or unreadable line (false); the lines before it stay.
bool ParseSnapshot(SnapshotIndex& index, std::string_view text);

// Loads path (GBK) into the index. A missing or unreadable file gives false and
// leaves the index as it was; otherwise as ParseSnapshot.
bool ReadSnapshot(SnapshotIndex& index, const std::string& path);

}  // namespace movra
