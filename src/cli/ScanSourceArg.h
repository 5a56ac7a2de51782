// The SOURCE argument of add and update: a drive text, a folder, or a disc image file.
#pragma once

#include <optional>
#include <string>

#include "cli/CliContext.h"

namespace movra {

// The scan path (UTF-8) that SOURCE names, as the window's path field would
// hold it: a drive text ("D:\", "Z:\home\ann") as given, or the absolute
// native path of a folder or an image file; nullopt when none of these
// exists or a drive text holds a character GBK cannot hold.
std::optional<std::string> ScanPathArgOf(const std::string& source);

}  // namespace movra
