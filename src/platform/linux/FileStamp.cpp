#include "platform/FileStamp.h"

#include <sys/stat.h>

#include "platform/linux/StatStamp.h"

namespace movra {

std::optional<FileStamp> StampOfFile(const std::string& native_path) {
  struct stat st;
  if (::stat(native_path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return std::nullopt;
  return StampOfStatus(st);
}

}  // namespace movra
