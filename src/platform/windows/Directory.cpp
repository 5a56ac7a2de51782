#include "platform/Directory.h"

#include <cwchar>

#include "platform/windows/WinText.h"

namespace movra {

// The open search over a folder: the first entry is read by the search's
// opening, the rest by each Next; names are handed out as UTF-8.
struct Directory::State {
  std::wstring folder;  // wide path of the folder, with its trailing backslash
  HANDLE find = INVALID_HANDLE_VALUE;
  WIN32_FIND_DATAW data{};
  bool pending = false;  // data holds an entry not yet handed out
  std::string name;
  ~State() {
    if (find != INVALID_HANDLE_VALUE) ::FindClose(find);
  }
};

namespace {

EntryKind KindOfAttributes(DWORD attributes) {
  if (attributes & FILE_ATTRIBUTE_DIRECTORY) return EntryKind::kFolder;
  if (attributes & FILE_ATTRIBUTE_DEVICE) return EntryKind::kOther;
  return EntryKind::kFile;
}

bool IsLink(const WIN32_FIND_DATAW& data) {
  return (data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) &&
         (data.dwReserved0 == IO_REPARSE_TAG_SYMLINK || data.dwReserved0 == IO_REPARSE_TAG_MOUNT_POINT);
}

std::optional<FileId> IdOfHandle(HANDLE file) {
  BY_HANDLE_FILE_INFORMATION info;
  if (!::GetFileInformationByHandle(file, &info)) return std::nullopt;
  return FileId{info.dwVolumeSerialNumber,
                (static_cast<std::uint64_t>(info.nFileIndexHigh) << 32) | info.nFileIndexLow};
}

std::optional<FileId> IdOfWide(const std::wstring& path) {
  const Handle file(::CreateFileW(path.c_str(), FILE_READ_ATTRIBUTES,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                  FILE_FLAG_BACKUP_SEMANTICS, nullptr));
  if (!file.valid()) return std::nullopt;
  return IdOfHandle(file.get());
}

// The search over the folder at a wide path; nullptr when it is no folder
// or cannot be listed.
std::unique_ptr<Directory::State> StateOf(std::wstring folder) {
  const DWORD attributes = ::GetFileAttributesW(folder.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY)) return nullptr;
  if (folder.empty() || folder.back() != L'\\') folder.push_back(L'\\');
  auto state = std::make_unique<Directory::State>();
  state->folder = folder;
  state->find = ::FindFirstFileExW((folder + L"*").c_str(), FindExInfoBasic, &state->data, FindExSearchNameMatch,
                                   nullptr, FIND_FIRST_EX_LARGE_FETCH);
  if (state->find != INVALID_HANDLE_VALUE) {
    state->pending = true;
  } else if (::GetLastError() != ERROR_FILE_NOT_FOUND) {
    return nullptr;  // a root without entries answers "not found"; anything else is a failure
  }
  return state;
}

bool IsDotName(const wchar_t* name) {
  return name[0] == L'.' && (name[1] == L'\0' || (name[1] == L'.' && name[2] == L'\0'));
}

}  // namespace

Directory::Directory(std::unique_ptr<State> state) : state_(std::move(state)) {}
Directory::Directory(Directory&& other) noexcept = default;
Directory& Directory::operator=(Directory&& other) noexcept = default;
Directory::~Directory() = default;

std::optional<Directory> Directory::Open(const std::string& native_path) {
  std::unique_ptr<State> state = StateOf(WidePath(native_path));
  if (!state) return std::nullopt;
  return Directory(std::move(state));
}

std::optional<Directory> Directory::OpenChild(const char* name) const {
  const std::wstring path = state_->folder + WideOf(name);
  // A link (or junction) is not entered, as a folder opened without following links.
  const DWORD attributes = ::GetFileAttributesW(path.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_REPARSE_POINT)) return std::nullopt;
  std::unique_ptr<State> state = StateOf(path);
  if (!state) return std::nullopt;
  return Directory(std::move(state));
}

bool Directory::Next(DirectoryEntry& entry, bool with_status) {
  for (;;) {
    if (!state_->pending) {
      if (state_->find == INVALID_HANDLE_VALUE || !::FindNextFileW(state_->find, &state_->data)) return false;
    }
    state_->pending = false;
    const WIN32_FIND_DATAW& data = state_->data;
    if (IsDotName(data.cFileName)) continue;
    state_->name = Utf8Of(data.cFileName);
    entry.name = state_->name.c_str();
    entry.length = state_->name.size();
    entry.link = IsLink(data);
    entry.kind = KindOfAttributes(data.dwFileAttributes);
    entry.size = 0;
    entry.modified = 0;
    entry.id = FileId{};
    entry.status = EntryStatus::kNone;
    if (!with_status) return true;
    if (entry.link) {
      // The target's status, or the link's own when the target is missing.
      const std::wstring path = state_->folder + data.cFileName;
      const Handle target(::CreateFileW(path.c_str(), FILE_READ_ATTRIBUTES,
                                        FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                        OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
      BY_HANDLE_FILE_INFORMATION info;
      if (!target.valid() || !::GetFileInformationByHandle(target.get(), &info)) {
        entry.status = EntryStatus::kLinkOnly;
        entry.modified = TimeTOf(data.ftLastWriteTime);
        return true;
      }
      entry.status = EntryStatus::kTarget;
      entry.kind = KindOfAttributes(info.dwFileAttributes);
      if (entry.kind != EntryKind::kFolder)
        entry.size = static_cast<std::int64_t>((static_cast<std::uint64_t>(info.nFileSizeHigh) << 32) |
                                               info.nFileSizeLow);
      entry.modified = TimeTOf(info.ftLastWriteTime);
      entry.id = FileId{info.dwVolumeSerialNumber,
                        (static_cast<std::uint64_t>(info.nFileIndexHigh) << 32) | info.nFileIndexLow};
      return true;
    }
    entry.status = EntryStatus::kTarget;
    if (entry.kind != EntryKind::kFolder)
      entry.size =
          static_cast<std::int64_t>((static_cast<std::uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow);
    entry.modified = TimeTOf(data.ftLastWriteTime);
    // The listing carries no file number; only folders need one (a scan's fence).
    if (entry.kind == EntryKind::kFolder) entry.id = IdOfWide(state_->folder + data.cFileName).value_or(FileId{});
    return true;
  }
}

std::optional<std::time_t> Directory::Modified() const {
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (!::GetFileAttributesExW(state_->folder.c_str(), GetFileExInfoStandard, &data)) return std::nullopt;
  return TimeTOf(data.ftLastWriteTime);
}

std::optional<FileId> Directory::Id() const { return IdOfWide(state_->folder); }

std::optional<FileId> FileIdOf(const std::string& native_path) {
  const Handle file(OpenForAttributes(native_path));
  if (!file.valid()) return std::nullopt;
  return IdOfHandle(file.get());
}

}  // namespace movra
