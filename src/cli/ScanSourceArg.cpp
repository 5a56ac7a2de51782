#include "cli/ScanSourceArg.h"

#include <cctype>
#include <filesystem>

#include "workflows/DiscEntry.h"
#include "platform/DataHome.h"

namespace movra {

std::optional<std::string> ScanSourceOf(CliContext& context, const std::string& source) {
  const bool drive_text = source.size() >= 2 && source[1] == ':' && std::isalpha(static_cast<unsigned char>(source[0]));
  if (drive_text) {
    const std::optional<std::string> gbk = CliContext::ToGbk(source);
    if (!gbk) return std::nullopt;
    return WithTrailingBackslash(*gbk);
  }
  std::error_code error;
  const std::filesystem::path path = std::filesystem::absolute(source, error).lexically_normal();
  if (error) return std::nullopt;
  // An image file is read where it is, by its native path.
  if (std::filesystem::is_regular_file(path, error)) return path.string();
  if (!std::filesystem::is_directory(path, error)) return std::nullopt;
  std::string native = path.string();
  while (native.size() > 1 && native.back() == '/') native.pop_back();
  const std::optional<std::string> drive_path = context.Drives().DrivePathOf(FsPathOf(native));
  if (!drive_path) return std::nullopt;
  return WithTrailingBackslash(*drive_path);
}

}  // namespace movra
