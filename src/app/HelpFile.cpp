#include "app/HelpFile.h"

#include "platform/FileSystem.h"

namespace movra {

std::string HelpDocumentPath(const std::string& program_folder) {
  const std::string chm = program_folder + kPathSeparator + kHelpFileName;
  if (Fs().FileExists(chm)) return chm;
  // Builds for Linux ship no compiled help; the guide is plain HTML.
  return program_folder + kPathSeparator + kHtmlGuidePath;
}

}  // namespace movra
