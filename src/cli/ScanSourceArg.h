// The SOURCE argument of add and update: a drive text, a folder, or a disc image file.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "cli/CliContext.h"
#include "snapshot/ScanExclusions.h"

namespace CLI {
class App;
}

namespace movra {

// The scan path (UTF-8) that SOURCE names, as the window's path field would
// hold it: a drive text ("D:\", "Z:\home\ann") as given, or the absolute
// native path of a folder or an image file; nullopt when none of these
// exists or a drive text holds a character GBK cannot hold.
std::optional<std::string> ScanPathArgOf(const std::string& source);

// The --exclude patterns (UTF-8) as the scan takes them; nullopt when one
// holds a character GBK cannot hold.
std::optional<ScanExclusions> ExclusionsArgOf(const std::vector<std::string>& patterns);

// Adds the repeatable --exclude option of add and update to command.
void AddExcludeOption(CLI::App& command, std::vector<std::string>& patterns);

}  // namespace movra
