#include "platform/HelpFile.h"

#include "platform/FileSystem.h"

namespace movra {

std::string InstalledFilePath(const std::string& program_folder, const std::string& relative) {
  const std::string::size_type cut = program_folder.find_last_of(kPathSeparator);
  if (cut == std::string::npos) return {};
  return program_folder.substr(0, cut + 1) + relative;
}

std::string HelpDocumentPath(const std::string& program_folder) {
  const std::string chm = program_folder + kPathSeparator + kHelpFileName;
  if (Fs().FileExists(chm)) return chm;
  // Builds for Linux ship no compiled help; the guide is plain HTML.
  const std::string beside = program_folder + kPathSeparator + kHtmlGuidePath;
  if (Fs().FileExists(beside)) return beside;
  // Installed as prefix/bin/movra, the guide is in prefix/share/doc/movra.
  const std::string installed = InstalledFilePath(program_folder, kInstalledGuidePath);
  if (!installed.empty() && Fs().FileExists(installed)) return installed;
  return beside;
}

}  // namespace movra
