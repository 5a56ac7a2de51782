#include "workflows/WindowArguments.h"

#include <string_view>

namespace movra {

std::vector<std::string> ImportFilesOf(const std::vector<std::string>& args) {
  constexpr std::string_view kImport = "--import";
  constexpr std::string_view kHome = "--home";
  std::vector<std::string> files;
  bool only_files = false;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string_view arg = args[i];
    if (only_files || arg.empty() || arg[0] != '-' || arg == "-") {
      files.push_back(args[i]);
    } else if (arg == "--") {
      only_files = true;
    } else if (arg == kImport || arg == kHome) {
      // The option's value is the next argument, also when it starts with '-'.
      if (i + 1 < args.size() && arg == kImport) files.push_back(args[i + 1]);
      ++i;
    } else if (arg.starts_with(kImport) && arg[kImport.size()] == '=') {
      files.emplace_back(arg.substr(kImport.size() + 1));
    }
  }
  return files;
}

}  // namespace movra
