// Where the help command finds the user guide, and the files of the
// installation the program belongs to.
#pragma once

#include <string>

namespace movra {

// The compiled help file, looked for in the program folder.
inline constexpr const char* kHelpFileName = "movra.chm";
// The HTML user guide shipped in the program folder.
inline constexpr const char* kHtmlGuidePath = "help/index.html";
// The HTML user guide of an installed program, relative to the installation
// prefix (the parent of the program folder, /usr for /usr/bin).
inline constexpr const char* kInstalledGuidePath = "share/doc/movra/help/index.html";

// prefix/relative for a program folder prefix/bin (native); empty when the
// folder has no parent.
std::string InstalledFilePath(const std::string& program_folder, const std::string& relative);

// The document the help command opens (native path): movra.chm in the program
// folder when it exists, else the HTML guide there, else the guide of the
// installation the program belongs to; the program folder's guide when none exists.
std::string HelpDocumentPath(const std::string& program_folder);

}  // namespace movra
