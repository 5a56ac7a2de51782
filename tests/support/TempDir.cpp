#include "support/TempDir.h"

#include "support/System.h"

#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>

namespace movra::test {

TempDir::TempDir() : path_(NewTempFolder()) {}

TempDir::~TempDir() {
  std::error_code ec;
  std::filesystem::permissions(PathOf(path_), std::filesystem::perms::owner_all, ec);
  std::filesystem::remove_all(PathOf(path_), ec);
}

void WriteBytes(const std::string& path, const std::string& bytes) {
  std::filesystem::create_directories(PathOf(path).parent_path());
  std::ofstream out(PathOf(path), std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

std::string ReadBytes(const std::string& path) {
  std::ifstream in(PathOf(path), std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

bool PathExists(const std::string& path) {
  std::error_code ec;
  return std::filesystem::exists(std::filesystem::symlink_status(PathOf(path), ec));
}

bool FailingFileSystem::CopyFile(const std::string& from, const std::string& to, bool fail_if_exists) {
  return !fail_copy && RealFileSystem::CopyFile(from, to, fail_if_exists);
}

bool FailingFileSystem::DeleteFile(const std::string& path) {
  return !fail_delete && RealFileSystem::DeleteFile(path);
}

std::optional<std::string> FailingFileSystem::ReadFile(const std::string& path) {
  if (fail_read) return std::nullopt;
  return RealFileSystem::ReadFile(path);
}

std::optional<std::string_view> FailingFileSystem::ReadFileInto(const std::string& path, std::string& storage) {
  if (fail_read) return std::nullopt;
  return RealFileSystem::ReadFileInto(path, storage);
}

bool FailingFileSystem::WriteFileAtomic(const std::string& path, std::string_view bytes, bool sync) {
  return !fail_write && RealFileSystem::WriteFileAtomic(path, bytes, sync);
}

ScopedTimeZone::ScopedTimeZone(const char* tz) {
  if (const char* old = std::getenv("TZ")) {
    old_ = old;
    had_ = true;
  }
  SetEnvironment("TZ", tz);
}

ScopedTimeZone::~ScopedTimeZone() {
  SetEnvironment("TZ", had_ ? old_.c_str() : nullptr);
}

}  // namespace movra::test
