#include "cli/ScanSourceArg.h"

#include <cctype>
#include <filesystem>

namespace movra {

std::optional<std::string> ScanPathArgOf(const std::string& source) {
  const bool drive_text = source.size() >= 2 && source[1] == ':' && std::isalpha(static_cast<unsigned char>(source[0]));
  if (drive_text) {
    if (!CliContext::ToGbk(source)) return std::nullopt;
    return source;
  }
  std::error_code error;
  const std::filesystem::path path = std::filesystem::absolute(source, error).lexically_normal();
  if (error) return std::nullopt;
  if (!std::filesystem::is_regular_file(path, error) && !std::filesystem::is_directory(path, error)) {
    return std::nullopt;
  }
  std::string native = path.string();
  while (native.size() > 1 && native.back() == '/') native.pop_back();
  return native;
}

}  // namespace movra
