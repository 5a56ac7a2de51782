#include "platform/FileSystem.h"

#include <algorithm>
#include <atomic>
#include <utility>

#include "platform/windows/WinText.h"

namespace movra {
namespace {

constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

bool WriteAll(HANDLE file, const char* data, size_t size) {
  while (size > 0) {
    const DWORD chunk = static_cast<DWORD>(std::min<size_t>(size, 1u << 30));
    DWORD written = 0;
    if (!::WriteFile(file, data, chunk, &written, nullptr) || written == 0) return false;
    data += written;
    size -= written;
  }
  return true;
}

// The folder part of a native path (either slash); "." when there is none.
std::string FolderOf(const std::string& path) {
  const size_t slash = path.find_last_of("/\\");
  if (slash == std::string::npos) return path.size() == 2 && path[1] == ':' ? path : std::string(".");
  return path.substr(0, slash == 0 || (slash == 2 && path[1] == ':') ? slash + 1 : slash);
}

DWORD AttributesOf(const std::string& path) { return ::GetFileAttributesW(WidePath(path).c_str()); }

// A new, empty file beside the target; the handle, or INVALID_HANDLE_VALUE when none can be made.
HANDLE CreateTempBeside(const std::string& target, std::string& temp) {
  static std::atomic<unsigned> counter{0};
  std::string folder = FolderOf(target);
  if (folder.back() != '/' && folder.back() != '\\') folder.push_back('\\');
  for (int attempt = 0; attempt < 100; ++attempt) {
    temp = folder + ".movra-" + std::to_string(::GetCurrentProcessId()) + "-" + std::to_string(counter++);
    const HANDLE file = ::CreateFileW(WidePath(temp).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                      FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file != INVALID_HANDLE_VALUE || ::GetLastError() != ERROR_FILE_EXISTS) return file;
  }
  return INVALID_HANDLE_VALUE;
}

// A rename over a target that a reader holds open (sharing deletion) is
// refused. Readers of the catalogue hold it for a moment only, so the atomic
// rename is tried again for a while; a target held longer (a snapshot being
// searched) is replaced by ReplaceFileW, which moves it aside first and then
// the temporary into its place, keeping the target's attributes.
bool MoveOverTarget(const std::wstring& temp, const std::wstring& target, DWORD flags) {
  for (int attempt = 0;; ++attempt) {
    if (::MoveFileExW(temp.c_str(), target.c_str(), flags)) return true;
    const DWORD error = ::GetLastError();
    if (error != ERROR_ACCESS_DENIED && error != ERROR_SHARING_VIOLATION) return false;
    if (attempt == 100) break;
    ::Sleep(10);
  }
  return ::ReplaceFileW(target.c_str(), temp.c_str(), nullptr, REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr, nullptr) != 0;
}

// The temporary file of one atomic write, moved over the target at Commit.
class RealAtomicFile : public AtomicFile {
 public:
  RealAtomicFile(HANDLE file, std::string temp, std::string target, bool sync)
      : file_(file), temp_(std::move(temp)), target_(std::move(target)), sync_(sync) {}
  ~RealAtomicFile() override {
    if (file_ != INVALID_HANDLE_VALUE) ::CloseHandle(file_);
    if (!committed_) ::DeleteFileW(WidePath(temp_).c_str());
  }

  bool Write(std::string_view bytes) override {
    ok_ = ok_ && file_ != INVALID_HANDLE_VALUE && WriteAll(file_, bytes.data(), bytes.size());
    return ok_;
  }

  bool Commit() override {
    if (file_ == INVALID_HANDLE_VALUE || committed_) return false;
    bool ok = ok_ && (!sync_ || ::FlushFileBuffers(file_));
    ok = ::CloseHandle(file_) && ok;
    file_ = INVALID_HANDLE_VALUE;
    const DWORD flags = MOVEFILE_REPLACE_EXISTING | (sync_ ? MOVEFILE_WRITE_THROUGH : 0);
    const std::wstring temp = WidePath(temp_), target = WidePath(target_);
    ok = ok && MoveOverTarget(temp, target, flags);
    ok_ = committed_ = ok;
    return committed_;
  }

 private:
  HANDLE file_;
  std::string temp_, target_;
  bool sync_;
  bool ok_ = true;
  bool committed_ = false;
};

}  // namespace

void AdviseHugePages(const void*, size_t) {}

bool RealFileSystem::FileExists(const std::string& path) {
  const DWORD a = AttributesOf(path);
  return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
}

bool RealFileSystem::DirectoryExists(const std::string& path) {
  const DWORD a = AttributesOf(path);
  return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

bool RealFileSystem::CopyFile(const std::string& from, const std::string& to, bool fail_if_exists) {
  std::optional<std::string> bytes = ReadFile(from);
  if (!bytes) return false;
  if (fail_if_exists) {
    // CREATE_NEW makes the refusal race-free; the content goes in through a
    // temporary file so a failed copy never leaves a half-written target.
    const HANDLE file = ::CreateFileW(WidePath(to).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                      FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    ::CloseHandle(file);
    if (!WriteFileAtomic(to, *bytes)) {
      ::DeleteFileW(WidePath(to).c_str());
      return false;
    }
    return true;
  }
  return WriteFileAtomic(to, *bytes);
}

bool RealFileSystem::DeleteFile(const std::string& path) { return ::DeleteFileW(WidePath(path).c_str()) != 0; }

std::optional<std::string_view> RealFileSystem::ReadFileInto(const std::string& path, std::string& storage) {
  const Handle file(::CreateFileW(WidePath(path).c_str(), GENERIC_READ, kShareAll, nullptr, OPEN_EXISTING,
                                  FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
  LARGE_INTEGER size;
  if (!file.valid() || !::GetFileSizeEx(file.get(), &size)) return std::nullopt;
  // Straight into the storage, aligned as in the file (CopyAlignmentGap);
  // it grows further if the file grows meanwhile.
  const auto expected = static_cast<size_t>(size.QuadPart);
  if (storage.capacity() < expected + 64) {
    storage.clear();
    storage.reserve(expected + 64);
  }
  const size_t start = CopyAlignmentGap(storage.data(), 0);
  if (storage.size() < start + expected + 1) storage.resize(start + expected + 1);
  size_t end = start;
  for (;;) {
    if (end == storage.size()) storage.resize(end + std::max(end - start, size_t{1} << 16));
    const DWORD want = static_cast<DWORD>(std::min<size_t>(storage.size() - end, 1u << 30));
    DWORD got = 0;
    if (!::ReadFile(file.get(), storage.data() + end, want, &got, nullptr)) return std::nullopt;
    if (got == 0) break;
    end += got;
  }
  return std::string_view(storage.data() + start, end - start);
}

std::unique_ptr<AtomicFile> RealFileSystem::CreateFileAtomic(const std::string& path, bool sync) {
  // A folder, or a file the user may not write, is left alone.
  const DWORD a = AttributesOf(path);
  if (a != INVALID_FILE_ATTRIBUTES && (a & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_READONLY))) return nullptr;
  std::string temp;
  const HANDLE file = CreateTempBeside(path, temp);
  if (file == INVALID_HANDLE_VALUE) return nullptr;
  return std::make_unique<RealAtomicFile>(file, std::move(temp), path, sync);
}

bool RealFileSystem::WriteFileAtomic(const std::string& path, std::string_view bytes, bool sync) {
  const std::unique_ptr<AtomicFile> file = RealFileSystem::CreateFileAtomic(path, sync);
  return file && file->Write(bytes) && file->Commit();
}

std::string ProgramFolder() {
  std::wstring exe(MAX_PATH, L'\0');
  for (;;) {
    const DWORD n = ::GetModuleFileNameW(nullptr, exe.data(), static_cast<DWORD>(exe.size()));
    if (n == 0) return ".";
    if (n < exe.size()) {
      exe.resize(n);
      break;
    }
    exe.resize(exe.size() * 2);
  }
  if (exe.rfind(L"\\\\?\\", 0) == 0) exe.erase(0, 4);
  const size_t slash = exe.find_last_of(L"\\/");
  return Utf8Of(slash == std::wstring::npos ? exe : exe.substr(0, slash == 2 ? 3 : slash));
}

bool IsWritableFolder(const std::string& path) {
  // Only trying tells: folder permissions are lists of rules, not bits.
  std::string probe = path;
  if (probe.empty() || (probe.back() != '/' && probe.back() != '\\')) probe.push_back('\\');
  probe += ".movra-probe-" + std::to_string(::GetCurrentProcessId());
  const HANDLE file = ::CreateFileW(WidePath(probe).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                    FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  ::CloseHandle(file);
  return true;
}

bool IsAbsoluteNative(std::string_view path) {
  const auto slash = [](char c) { return c == '/' || c == '\\'; };
  if (path.size() >= 2 && slash(path[0]) && slash(path[1])) return true;  // a share, or \\?\ and \\.\ forms
  const bool letter = path.size() >= 3 && ((path[0] >= 'A' && path[0] <= 'Z') || (path[0] >= 'a' && path[0] <= 'z'));
  return (letter && path[1] == ':' && slash(path[2])) || (!path.empty() && slash(path[0]));
}

std::string SlashedNative(std::string_view path) {
  std::string out(path);
  for (char& c : out)
    if (c == '\\') c = '/';
  return out;
}

// A name holds 255 UTF-16 units.
bool NativeNameFits(std::string_view native_name) { return WideOf(native_name).size() <= 255; }

std::optional<FileReader> FileReader::Open(const std::string& native_path) {
  const HANDLE file = ::CreateFileW(WidePath(native_path).c_str(), GENERIC_READ, kShareAll, nullptr, OPEN_EXISTING,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return std::nullopt;
  return FileReader(reinterpret_cast<std::intptr_t>(file));
}

FileReader::FileReader(FileReader&& other) noexcept : handle_(std::exchange(other.handle_, -1)) {}

FileReader& FileReader::operator=(FileReader&& other) noexcept {
  if (this != &other) {
    if (handle_ != -1) ::CloseHandle(reinterpret_cast<HANDLE>(handle_));
    handle_ = std::exchange(other.handle_, -1);
  }
  return *this;
}

FileReader::~FileReader() {
  if (handle_ != -1) ::CloseHandle(reinterpret_cast<HANDLE>(handle_));
}

bool FileReader::ReadAt(std::uint64_t offset, void* data, std::size_t size) const {
  auto* out = static_cast<char*>(data);
  while (size > 0) {
    OVERLAPPED at{};
    at.Offset = static_cast<DWORD>(offset);
    at.OffsetHigh = static_cast<DWORD>(offset >> 32);
    DWORD got = 0;
    const DWORD want = static_cast<DWORD>(std::min<size_t>(size, 1u << 30));
    if (!::ReadFile(reinterpret_cast<HANDLE>(handle_), out, want, &got, &at) || got == 0) return false;
    out += got;
    offset += got;
    size -= got;
  }
  return true;
}

}  // namespace movra
