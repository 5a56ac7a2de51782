// Where the help command finds the user guide.
#pragma once

#include <string>

namespace movra {

// The compiled help file, looked for in the program folder.
inline constexpr const char* kHelpFileName = "movra.chm";
// The HTML user guide shipped in the program folder.
inline constexpr const char* kHtmlGuidePath = "help/index.html";

// The document the help command opens (native path): movra.chm in the program
// folder when it exists, else the HTML guide there.
std::string HelpDocumentPath(const std::string& program_folder);

}  // namespace movra
