// Shared pieces of the fuzz targets: splitting one input into several
// fields, a file system held in memory, and a check that stops the run.
#pragma once

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <optional>
#include <string>
#include <string_view>

#include "platform/FileSystem.h"

namespace movra::fuzz {

// Stops the run (libFuzzer records the input) when a property does not hold.
#define FUZZ_CHECK(condition)                                                       \
  do {                                                                              \
    if (!(condition)) {                                                             \
      std::fprintf(stderr, "%s:%d: check failed: %s\n", __FILE__, __LINE__, #condition); \
      std::abort();                                                                 \
    }                                                                               \
  } while (0)

// Takes an input apart: fields end at a 0xFF byte (the byte no GBK text
// uses), the rest is the last field.
class Fields {
 public:
  Fields(const std::uint8_t* data, size_t size) : rest_(reinterpret_cast<const char*>(data), size) {}
  // The next field; empty once the input is used up.
  std::string_view Next() {
    const size_t end = rest_.find('\xFF');
    const std::string_view field = rest_.substr(0, end);
    rest_ = end == std::string_view::npos ? std::string_view() : rest_.substr(end + 1);
    return field;
  }
  // The first byte of the next field (0 when none), for choices.
  std::uint8_t Byte() {
    const std::string_view f = Next();
    return f.empty() ? 0 : static_cast<std::uint8_t>(f[0]);
  }
  // What is left, unsplit.
  std::string_view Rest() const { return rest_; }

 private:
  std::string_view rest_;
};

// Files held in memory, so that a run touches no disk and is fast.
class MemoryFileSystem : public FileSystem {
 public:
  std::map<std::string, std::string> files;
  bool FileExists(const std::string& path) override { return files.count(path) != 0; }
  bool DirectoryExists(const std::string&) override { return false; }
  bool CopyFile(const std::string& from, const std::string& to, bool fail_if_exists) override {
    if (!files.count(from) || (fail_if_exists && files.count(to))) return false;
    files[to] = files[from];
    return true;
  }
  bool DeleteFile(const std::string& path) override { return files.erase(path) != 0; }
  std::optional<std::string> ReadFile(const std::string& path) override {
    auto found = files.find(path);
    if (found == files.end()) return std::nullopt;
    return found->second;
  }
  bool WriteFileAtomic(const std::string& path, std::string_view bytes, bool) override {
    files[path] = std::string(bytes);
    return true;
  }
};

}  // namespace movra::fuzz
