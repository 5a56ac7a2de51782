// What the user asked to scan: a folder of a drive, or a disc image file
// that is read as the disc it holds. Add disc, Update disc and movra-cli all
// decide it here, so they agree.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "platform/DriveMap.h"
#include "snapshot/Scanner.h"
#include "snapshot/SnapshotIndex.h"

namespace movra {

// The native path of the disc image file that source names: a drive path
// ("Z:\home\ann\disc.iso", a trailing backslash allowed) or a native path
// ("/home/ann/disc.iso") of an existing regular file. nullopt for a folder,
// a missing path or anything else.
std::optional<std::string> ImageFileOf(const DriveMap& drives, std::string_view source);

// What the user is told about an image file that cannot be read (UTF-8).
inline constexpr const char* kUnreadableImageMessage =
    "无法读取这个光盘映像：它不是 ISO 9660 或 UDF 格式，或者已经损坏！";

// How scanning a medium for a new disc ended.
enum class DiscScanResult {
  kScanned,       // the index holds the medium
  kCancelled,     // the user stopped it; the index is empty
  kNothingFound,  // no folder or file was found (or none under a drive letter)
  kUnreadableImage,  // the path names a file that is neither an ISO 9660 nor a UDF image
};

// Empties the index and scans source into it; progress may cancel. source
// is a drive path (a trailing backslash is added when missing), a native
// folder path, or a disc image file (ImageFileOf), which is read as the disc
// in the first optical drive (or E:). Names exclude matches are left out.
DiscScanResult ScanDisc(SnapshotIndex& index, const DriveMap& drives, std::string_view source,
                        const ScanCallback& progress = {}, const ScanExclusions& exclude = {});

}  // namespace movra
