// What identifies one version of a file on disk, as plain integers: its
// size, its times and which file of which volume it is. A file rewritten or
// replaced by any means changes at least one of them, unless the change is
// hidden by the clock's granularity.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace movra {

struct FileStamp {
  std::uint64_t size = 0;
  std::uint64_t volume = 0;   // the volume that holds the file (device number; volume serial)
  std::uint64_t file_id = 0;  // the file on its volume (inode; file index)
  std::int64_t mtime_ns = 0;  // last change of the content, ns since 1970-01-01 UTC
  std::int64_t ctime_ns = 0;  // last change of the content or the file's status, same clock
  // Equal when every field is.
  bool operator==(const FileStamp&) const = default;
};

// The stamp of the regular file (or link to one) at a native path, or
// nothing when there is none.
std::optional<FileStamp> StampOfFile(const std::string& native_path);

}  // namespace movra
