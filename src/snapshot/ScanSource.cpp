#include "snapshot/ScanSource.h"

#include <sys/stat.h>

#include "platform/FileSystem.h"

namespace movra {

std::optional<std::string> ImageFileOf(const DriveMap& drives, std::string_view source) {
  std::string native;
  if (!source.empty() && source.front() == '/') {
    native = std::string(source);
  } else {
    while (!source.empty() && source.back() == '\\') source.remove_suffix(1);
    if (DriveLetterOf(source) == 0) return std::nullopt;
    const std::optional<std::string> path = drives.NativePathOf(source);
    if (!path) return std::nullopt;
    native = *path;
  }
  while (native.size() > 1 && native.back() == '/') native.pop_back();
  struct stat st;
  if (::stat(native.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return std::nullopt;
  return native;
}

}  // namespace movra
