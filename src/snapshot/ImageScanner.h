// Reads a disc image file (ISO 9660 with Joliet or Rock Ridge, or UDF) into a
// snapshot index without mounting it, with the same keys, names, times and
// order per folder as a scan of the disc in a drive would give.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/DriveMap.h"
#include "snapshot/Scanner.h"
#include "snapshot/SnapshotIndex.h"

namespace movra {

// How reading an image ended.
enum class ImageScanResult {
  kRead,        // every entry of the image is in the index
  kCancelled,   // the progress callback stopped it
  kUnreadable,  // neither an ISO 9660 nor a UDF file system could be read
};

// The key an image's root is filed under: the first optical drive's root
// ("D:\"), or "E:\" on a machine without one, as if the disc were in that drive.
std::string ImageRootKey(const DriveMap& drives);

// Adds every folder and file of the image at native_image (a native path)
// to index under root_key (ending with a backslash). Per folder: its
// sub-folders, each followed by its subtree, then its files, each group in
// EntryNameLess order; what exclude names is left out, folders with their
// subtrees. On kCancelled or kUnreadable the index may hold part of the image.
ImageScanResult ScanImage(SnapshotIndex& index, const std::string& native_image, std::string_view root_key,
                          const ScanCallback& progress = {}, const ScanExclusions& exclude = {});

// The label (GBK) and serial of an image's volume.
struct ImageVolume {
  std::string label;                    // empty when the image has none
  std::optional<std::uint32_t> serial;  // the serial Windows shows for ISO 9660; none for UDF alone
};

// The volume of the image at native_image; nullopt when it is neither ISO 9660 nor UDF.
std::optional<ImageVolume> ReadImageVolume(const std::string& native_image);

}  // namespace movra
