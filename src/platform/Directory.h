// Reading folders entry by entry, as fast as a scan of a whole disc needs:
// the names and kinds come from the listing itself, and the status (size,
// time, identity) only when asked for, read relative to the open folder.
#pragma once

#include <cstddef>
#include <cstdint>
#include <ctime>
#include <memory>
#include <optional>
#include <string>

namespace movra {

// What an entry of a folder is.
enum class EntryKind : std::uint8_t { kFile, kFolder, kOther };

// A file's identity among the volumes mounted now: its volume and its number there.
struct FileId {
  std::uint64_t volume = 0;
  std::uint64_t file = 0;
  // Equal when both name the same file.
  bool operator==(const FileId&) const = default;
};

// How much of an entry's status could be read.
enum class EntryStatus : std::uint8_t {
  kNone,     // not asked for
  kTarget,   // the file's own, a link's target's for a link
  kLinkOnly, // a link whose target is missing (or a loop of links): the link's own
  kDenied,   // the folder may be listed but not entered: names and kinds only
};

// One entry of a folder (never "." or "..").
struct DirectoryEntry {
  const char* name = nullptr;  // native, NUL-terminated; valid until the next read
  std::size_t length = 0;      // bytes of name
  EntryKind kind = EntryKind::kOther;  // a link's target's when the status says so
  bool link = false;           // a symbolic link
  EntryStatus status = EntryStatus::kNone;
  std::int64_t size = 0;       // bytes; 0 without status
  std::time_t modified = 0;    // seconds since 1970; 0 without status
  FileId id;                   // with status kTarget
};

// An open folder, read once from its first entry to its last.
class Directory {
 public:
  // The folder at a native path; nullopt when it cannot be opened.
  static std::optional<Directory> Open(const std::string& native_path);

  Directory(Directory&& other) noexcept;
  Directory& operator=(Directory&& other) noexcept;
  ~Directory();

  // The sub-folder name (an entry's name) itself, not through a link;
  // nullopt when it cannot be opened, vanished or was replaced by a link.
  std::optional<Directory> OpenChild(const char* name) const;
  // Reads the next entry into entry; false after the last. With status, an
  // entry that vanished since it was listed is skipped.
  bool Next(DirectoryEntry& entry, bool with_status);
  // The folder's own modification time (seconds since 1970).
  std::optional<std::time_t> Modified() const;
  // The folder's own identity.
  std::optional<FileId> Id() const;

  // The system's open folder, defined by each system's source.
  struct State;

 private:
  explicit Directory(std::unique_ptr<State> state);
  std::unique_ptr<State> state_;
};

// The identity of the file or folder at a native path (links followed,
// automounts not triggered); nullopt when there is none.
std::optional<FileId> FileIdOf(const std::string& native_path);

}  // namespace movra
