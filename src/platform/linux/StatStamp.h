// The stamp of a file from its POSIX status, shared by the Linux sources.
#pragma once

#include <sys/stat.h>

#include "platform/FileStamp.h"

namespace movra {

inline FileStamp StampOfStatus(const struct stat& st) {
  FileStamp stamp;
  stamp.size = static_cast<std::uint64_t>(st.st_size);
  stamp.volume = static_cast<std::uint64_t>(st.st_dev);
  stamp.file_id = static_cast<std::uint64_t>(st.st_ino);
  stamp.mtime_ns = static_cast<std::int64_t>(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
  stamp.ctime_ns = static_cast<std::int64_t>(st.st_ctim.tv_sec) * 1000000000 + st.st_ctim.tv_nsec;
  return stamp;
}

}  // namespace movra
