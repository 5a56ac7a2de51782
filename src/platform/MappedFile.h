// Reading parts of large files without reading them whole: a read-only
// memory map, and a file open for reads at any offset, with hints to the
// system about what will be read.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/FileStamp.h"

namespace movra {

// A regular file mapped read-only into memory, unmapped when destroyed. The
// map reads no more than the pages touched: no read-ahead around them.
class MappedFile {
 public:
  // The map of a non-empty regular file, or nothing.
  static std::optional<MappedFile> Open(const std::string& native_path);
  MappedFile(MappedFile&& other) noexcept;
  MappedFile& operator=(MappedFile&& other) noexcept;
  MappedFile(const MappedFile&) = delete;
  MappedFile& operator=(const MappedFile&) = delete;
  ~MappedFile();

  // The file's bytes; they stay where they are while the map lives, even when it is moved.
  std::string_view Bytes() const { return {static_cast<const char*>(address_), length_}; }
  // The stamp of the file when it was mapped.
  const FileStamp& Stamp() const { return stamp_; }

 private:
  MappedFile() = default;
  void* address_ = nullptr;
  size_t length_ = 0;
  FileStamp stamp_;
};

// Asks for the mapped pages of [data, data + length) to be read in one go,
// ahead of their use.
void WillNeedMapped(const void* data, size_t length);

// A regular file open for reading, closed when destroyed.
class ReadOnlyFile {
 public:
  // The open file, or nothing when it cannot be opened or is no regular file.
  static std::optional<ReadOnlyFile> Open(const std::string& native_path);
  ReadOnlyFile(ReadOnlyFile&& other) noexcept;
  ReadOnlyFile& operator=(ReadOnlyFile&& other) noexcept;
  ReadOnlyFile(const ReadOnlyFile&) = delete;
  ReadOnlyFile& operator=(const ReadOnlyFile&) = delete;
  ~ReadOnlyFile();

  // The stamp of the open file now, or nothing when the system cannot tell.
  std::optional<FileStamp> Stamp() const;
  // Reads length bytes at offset into out; false unless all of them were read.
  bool ReadAt(std::uint64_t offset, char* out, size_t length) const;
  // Turns off the system's read-ahead: only the bytes asked for are read.
  void AccessRandomly() const;
  // Asks for [offset, offset + length) to be read in the background.
  void WillNeed(std::uint64_t offset, std::uint64_t length) const;
  // Writes out the file's changed pages and drops all of them from the
  // system's cache, so that the next read comes from storage.
  void DropFromCache() const;

 private:
  explicit ReadOnlyFile(std::intptr_t handle) : handle_(handle) {}
  std::intptr_t handle_ = -1;  // the system's handle of the open file
};

}  // namespace movra
