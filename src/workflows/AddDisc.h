// Add disc without its dialogs: the values proposed for a scan path, the
// checks of the input before anything is scanned, and filing a scanned disc
// (snapshot file first, then the catalogue entry, undone when the catalogue
// cannot be saved). Texts are GBK.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "workflows/DiscCataloguing.h"
#include "platform/DateTime.h"
#include "platform/DriveMap.h"
#include "snapshot/Scanner.h"
#include "snapshot/SnapshotIndex.h"
#include "workflows/Workspace.h"

namespace movra {

// Reads the label and serial of the volume of a drive text ("E:"); false
// when they cannot be read.
using VolumeReader = std::function<bool(std::string_view drive_text, std::string& label, std::uint32_t& serial)>;

// What Add disc proposes for a scan path.
struct DiscProposal {
  std::string name;                     // the volume label, or 我的光盘_000
  std::string date_text;                // now, as a date-time text
  std::vector<std::string> memo_lines;  // number, place, serial and label lines
};

// The name, date and memo proposed for a scan path (a drive path such as
// "E:\" or "Z:\home\ann\"), from the volume of its drive.
DiscProposal ProposeDisc(std::string_view scan_path, const VolumeReader& read_volume, DateTime now);

// The name, date and memo proposed for a disc image file (native path): its
// label and the serial of the burnt disc, as for a disc in a drive.
DiscProposal ProposeImageDisc(const std::string& native_image, DateTime now);

// The reader of the volumes of these drives.
VolumeReader VolumeReaderOf(const DriveMap& drives);

// The name, date and memo proposed for a source as ScanDisc takes it: an
// image file proposes what its burnt disc would, a drive path what its volume gives.
DiscProposal ProposeForSource(const DriveMap& drives, std::string_view source, const VolumeReader& read_volume,
                              DateTime now);

// The name (the file's stem, GBK), date and memo proposed for importing a snapshot file.
DiscProposal ProposeImport(std::string_view stem, DateTime now);

// Scans source into index (ScanDisc) and words how it ended: kCancelled
// (no message), kNothingFound, or kFailed for an image that cannot be read.
// Names exclude matches are not recorded.
WorkflowResult ScanMedium(SnapshotIndex& index, const DriveMap& drives, std::string_view source,
                          const ScanCallback& progress = {}, const ScanExclusions& exclude = {});

// The message (GBK) for input Add disc refuses; empty for kNone.
std::string AddDiscRefusalText(DiscInputProblem problem);

// Checks the input of Add disc before the scan: an unreadable catalogue,
// then the dialog's checks (kRefused: the user may correct the input), then
// the category (kNotFound).
WorkflowResult CheckNewDisc(Workspace& work, const DiscInput& input, std::string_view scan_path_text);

// CheckNewDisc, then the scan path as the user gave it (UTF-8): a path whose
// keys could not be recorded is refused (kRefused) before anything is scanned.
WorkflowResult CheckNewDisc(Workspace& work, const DriveMap& drives, const DiscInput& input,
                            std::string_view scan_path_utf8);

// Files a disc whose scan the index holds: writes its snapshot file, then
// catalogues it under its category and saves. When the save fails the
// snapshot file goes again and the catalogue is read back from disk.
// refusal words the checks made again (Add disc's unless Import's are given).
WorkflowResult FileNewDisc(Workspace& work, const DiscInput& input, const SnapshotIndex& scanned,
                           std::string (*refusal)(DiscInputProblem) = AddDiscRefusalText);

// Scans source into index (ScanMedium) and files the disc (FileNewDisc);
// nothing is catalogued unless both succeed.
WorkflowResult ScanAndFileNewDisc(Workspace& work, const DriveMap& drives, const DiscInput& input,
                                  std::string_view source, SnapshotIndex& index, const ScanCallback& progress = {},
                                  const ScanExclusions& exclude = {});

}  // namespace movra
