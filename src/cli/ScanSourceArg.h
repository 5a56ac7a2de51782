// The SOURCE argument of add and update: a drive text, a folder, or a disc image file.
#pragma once

#include <optional>
#include <string>

#include "cli/CliContext.h"

namespace movra {

// What ScanDisc takes for SOURCE: a drive text ("D:\", "Z:\home\ann") with
// a trailing backslash, a native folder as its drive path, or the absolute
// native path of an image file; nullopt when none of these exists.
std::optional<std::string> ScanSourceOf(CliContext& context, const std::string& source);

}  // namespace movra
