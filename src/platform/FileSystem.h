// The file system seam: every file operation of the program goes through
// Fs(), so tests can put a failing stand-in in its place.
//
// Paths here are native: the file system's own bytes (UTF-8), passed to the
// system unchanged. GBK is for what is recorded, stored and shown; a GBK name
// (a disc name, a key) joins a native folder only through NativeJoin.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

namespace movra {

// A file written in place of another a piece at a time: the bytes go to a
// temporary file beside the target, which Commit renames over it. Destroyed
// without a successful Commit, it removes the temporary and leaves the target
// as it was.
class AtomicFile {
 public:
  virtual ~AtomicFile() = default;
  // Appends bytes; false once any write has failed.
  virtual bool Write(std::string_view bytes) = 0;
  // Puts the complete file in the target's place; false (the target as it
  // was) when this or an earlier write failed.
  virtual bool Commit() = 0;
};

class FileSystem {
 public:
  virtual ~FileSystem() = default;
  // True when path names an existing regular file (or a link to one).
  virtual bool FileExists(const std::string& path) = 0;
  // True when path names an existing folder.
  virtual bool DirectoryExists(const std::string& path) = 0;
  // Copies from to to; with fail_if_exists an existing target is left alone and false returned.
  virtual bool CopyFile(const std::string& from, const std::string& to, bool fail_if_exists) = 0;
  // Deletes a file; false when it did not exist or could not be deleted.
  virtual bool DeleteFile(const std::string& path) = 0;
  // The whole content of a file, or nullopt when it cannot be read.
  virtual std::optional<std::string> ReadFile(const std::string& path) = 0;
  // The whole content of a file, read into storage (reused from one call
  // to the next) where the system copies fastest; nullopt when it cannot
  // be read.
  virtual std::optional<std::string_view> ReadFileInto(const std::string& path, std::string& storage) {
    std::optional<std::string> content = ReadFile(path);
    if (!content) return std::nullopt;
    storage = std::move(*content);
    return std::string_view(storage);
  }
  // Writes bytes to a temporary file in the target's folder and renames it
  // over path, so the target is either the old file or the complete new one.
  // A link is written through to its target; the file keeps its mode (and
  // its owner when running as root); a file the user may not write is
  // refused and left as it is. With sync the data is flushed to the disk
  // before the rename and the folder after it.
  virtual bool WriteFileAtomic(const std::string& path, std::string_view bytes, bool sync = true) = 0;
  // WriteFileAtomic a piece at a time, for files too large to hold at once;
  // null when the target cannot be written (a folder, a file the user may
  // not write, a folder where no file can be made). This default holds the
  // bytes and hands them to WriteFileAtomic at Commit.
  virtual std::unique_ptr<AtomicFile> CreateFileAtomic(const std::string& path, bool sync = true);
};

// The operating system's file system.
class RealFileSystem : public FileSystem {
 public:
  bool FileExists(const std::string& path) override;
  bool DirectoryExists(const std::string& path) override;
  bool CopyFile(const std::string& from, const std::string& to, bool fail_if_exists) override;
  bool DeleteFile(const std::string& path) override;
  std::optional<std::string> ReadFile(const std::string& path) override;
  std::optional<std::string_view> ReadFileInto(const std::string& path, std::string& storage) override;
  bool WriteFileAtomic(const std::string& path, std::string_view bytes, bool sync = true) override;
  std::unique_ptr<AtomicFile> CreateFileAtomic(const std::string& path, bool sync = true) override;
};

// The file system in use: the real one unless a test replaced it.
FileSystem& Fs();

// Replaces the file system (nullptr restores the real one); for tests.
void SetFileSystem(FileSystem* fs);

// native_folder followed by gbk_name converted to the file system's encoding:
// how a disc's snapshot file, for instance, is named inside the data folder.
std::string NativeJoin(std::string_view native_folder, std::string_view gbk_name);

// Hints that a large buffer about to be filled (file content) be backed by
// huge pages; a no-op for small buffers or where the system has none.
void AdviseHugePages(const std::string& buffer);
// The same for the capacity bytes of any buffer at data.
void AdviseHugePages(const void* data, size_t capacity);

// The bytes to leave free at destination so that bytes read from offset of
// a file lie as they lie in the file relative to 64-byte lines: the system
// copies file pages several times faster between equally aligned addresses.
inline size_t CopyAlignmentGap(const void* destination, std::uint64_t offset) {
  return static_cast<size_t>((offset - reinterpret_cast<std::uintptr_t>(destination)) & 63);
}

// The folder of the running executable (native, no trailing separator).
std::string ProgramFolder();

// True when the current user may create and delete files in the folder at path.
bool IsWritableFolder(const std::string& path);

// True when a file name (native, no folder) is short enough for one name of the file system.
bool NativeNameFits(std::string_view native_name);

// A file (a device or a disc image) opened for reads at chosen offsets.
class FileReader {
 public:
  // The file at a native path opened for reading; nullopt when it cannot be.
  static std::optional<FileReader> Open(const std::string& native_path);

  FileReader(FileReader&& other) noexcept;
  FileReader& operator=(FileReader&& other) noexcept;
  ~FileReader();

  // Reads size bytes from offset into data; false unless all of them were read.
  bool ReadAt(std::uint64_t offset, void* data, std::size_t size) const;

 private:
  explicit FileReader(std::intptr_t handle) : handle_(handle) {}
  std::intptr_t handle_ = -1;  // the system's handle of the open file
};

// True when a native path is absolute: from the root ("/..."), or where drive
// letters exist, from a drive's root ("C:/...", "C:\...") or a share.
bool IsAbsoluteNative(std::string_view path);

// A native path with the system's other separator, if it has one, as '/'.
std::string SlashedNative(std::string_view path);

// The native path separator the program's own files use.
inline constexpr char kPathSeparator = '/';

}  // namespace movra
