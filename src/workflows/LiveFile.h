// The real file behind a catalogued entry: where the medium a disc was
// scanned from is now, if it is there at all. A disc is present when a
// mounted volume has the serial its memo records (光盘卷号), whatever letter
// the volume has now; without a serial, a volume that holds a few of the
// disc's recorded root entries (its label preferred) stands for it. A folder
// disc ("Z:\home\ann\photos\") is also present while its folder exists.
// Texts are GBK; the paths returned are native.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/DriveMap.h"
#include "snapshot/SnapshotIndex.h"
#include "workflows/AddDisc.h"
#include "workflows/Workspace.h"

namespace movra {

// The serial a memo (as stored, lines ended by "nbsp") records on its
// 光盘卷号 line as a signed or unsigned decimal; nullopt when it records none.
std::optional<std::uint32_t> RecordedSerial(std::string_view memo);

// The label a memo records on its 光盘卷标 line; empty when there is none.
std::string RecordedLabel(std::string_view memo);

// A serial as Windows shows it: "1A2B-3C4D".
std::string SerialText(std::uint32_t serial);

// The recorded path (a key plus name, "E:\VIDEO\A.VOB") that text names on a
// disc whose root folder is root: a path with a drive stays as it is, any
// other is taken below the root; "/" counts as "\"; empty names the root.
std::string RecordedPathOn(std::string_view root, std::string_view text);

// Where an entry of a disc is now.
struct LiveLocation {
  WorkflowResult result;  // kDone, or kNotFound / kFailed with the message to show
  std::string native;     // the entry's native path when found
};

// Finds the entry at recorded path (RecordedPathOn's form; empty for the
// disc's root) of a disc whose memo and snapshot are given, among the drives'
// mounted volumes. The message names the disc to insert when it is absent.
LiveLocation LocateInSnapshot(const DriveMap& drives, const VolumeReader& read_volume, std::string_view disc_name,
                              std::string_view memo, const SnapshotIndex& snapshot, std::string_view path);

// LocateInSnapshot for a catalogued disc, its memo and snapshot read from the
// workspace, path given as RecordedPathOn takes it; kNotFound when no disc
// has that name, kFailed when its snapshot cannot be read.
LiveLocation LocateOnDisc(Workspace& work, const DriveMap& drives, const VolumeReader& read_volume,
                          std::string_view disc_name, std::string_view path);

}  // namespace movra
