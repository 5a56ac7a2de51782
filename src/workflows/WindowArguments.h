// The window's command line: which snapshot files to import at start.
#pragma once

#include <string>
#include <vector>

namespace movra {

// The snapshot files named on the window's command line (argv without the
// program name), in order: each --import FILE or --import=FILE, and each bare
// argument, which is how a file manager passes the files it opens. The
// value of --home DIR is not a file; other options are left to their readers,
// and everything after "--" is a file. Paths stay as given (native).
std::vector<std::string> ImportFilesOf(const std::vector<std::string>& args);

}  // namespace movra
