// Test helpers: a temporary folder removed at the end of the test, small
// file helpers on native (UTF-8) paths, and a file system that fails on demand.
#pragma once

#include <string>

#include "platform/FileSystem.h"

namespace movra::test {

// A fresh folder in the temporary folder; removed with everything in it on destruction.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  // The folder's path (native, no trailing slash).
  const std::string& path() const { return path_; }
  // path() + "/" + name.
  std::string operator/(const std::string& name) const { return path_ + "/" + name; }

 private:
  std::string path_;
};

// Writes bytes to a native path, creating missing parent folders.
void WriteBytes(const std::string& path, const std::string& bytes);

// The bytes of a native path; empty when it cannot be read.
std::string ReadBytes(const std::string& path);

// True when a native path exists.
bool PathExists(const std::string& path);

// The real file system, with writes, copies or deletions made to fail on demand.
class FailingFileSystem : public RealFileSystem {
 public:
  bool fail_write = false;
  bool fail_copy = false;
  bool fail_delete = false;
  bool fail_read = false;
  bool CopyFile(const std::string& from, const std::string& to, bool fail_if_exists) override;
  bool DeleteFile(const std::string& path) override;
  std::optional<std::string> ReadFile(const std::string& path) override;
  std::optional<std::string_view> ReadFileInto(const std::string& path, std::string& storage) override;
  bool WriteFileAtomic(const std::string& path, std::string_view bytes, bool sync = true) override;
};

// Installs a file system for the life of the object.
class ScopedFileSystem {
 public:
  explicit ScopedFileSystem(FileSystem* fs) { SetFileSystem(fs); }
  ~ScopedFileSystem() { SetFileSystem(nullptr); }
};

// Sets the time zone (a TZ value such as "CST-8") for the life of the object.
class ScopedTimeZone {
 public:
  explicit ScopedTimeZone(const char* tz);
  ~ScopedTimeZone();

 private:
  std::string old_;
  bool had_ = false;
};

}  // namespace movra::test
