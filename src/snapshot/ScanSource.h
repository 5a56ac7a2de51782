// What the user asked to scan: a folder of a drive, or a disc image file
// that is read as the disc it holds. Add disc, Update disc and movra-cli all
// decide it here, so they agree.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "platform/DriveMap.h"

namespace movra {

// The native path of the disc image file that source names: a drive path
// ("Z:\home\ann\disc.iso", a trailing backslash allowed) or a native path
// ("/home/ann/disc.iso") of an existing regular file. nullopt for a folder,
// a missing path or anything else.
std::optional<std::string> ImageFileOf(const DriveMap& drives, std::string_view source);

}  // namespace movra
