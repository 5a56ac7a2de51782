#include "platform/windows/WinText.h"

namespace movra {

std::wstring WideOf(std::string_view utf8) {
  if (utf8.empty()) return {};
  const int n = ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
  std::wstring wide(static_cast<size_t>(n), L'\0');
  ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), wide.data(), n);
  return wide;
}

std::string Utf8Of(std::wstring_view wide) {
  if (wide.empty()) return {};
  const int n =
      ::WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0, nullptr, nullptr);
  std::string utf8(static_cast<size_t>(n), '\0');
  ::WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), utf8.data(), n, nullptr, nullptr);
  return utf8;
}

std::wstring WidePath(std::string_view native) {
  std::wstring path = WideOf(native);
  for (wchar_t& c : path)
    if (c == L'/') c = L'\\';
  const bool drive = path.size() >= 2 && path[1] == L':' &&
                     ((path[0] >= L'A' && path[0] <= L'Z') || (path[0] >= L'a' && path[0] <= L'z'));
  if (drive && path.size() == 2) path.push_back(L'\\');
  // Below MAX_PATH (less room for a file name added by the system) the plain form works everywhere.
  if (path.size() < MAX_PATH - 12 || path.rfind(L"\\\\?\\", 0) == 0) return path;
  if (drive && path.size() > 2 && path[2] == L'\\') return L"\\\\?\\" + path;
  if (path.rfind(L"\\\\", 0) == 0) return L"\\\\?\\UNC\\" + path.substr(2);
  return path;
}

namespace {

// 100 ns steps between 1601-01-01 and 1970-01-01.
constexpr std::int64_t kEpochOffset = 116444736000000000LL;

std::int64_t Count(const FILETIME& time) {
  return static_cast<std::int64_t>((static_cast<std::uint64_t>(time.dwHighDateTime) << 32) | time.dwLowDateTime);
}

}  // namespace

std::time_t TimeTOf(const FILETIME& time) {
  const std::int64_t t = Count(time) - kEpochOffset;
  // Rounded down, also before 1970.
  return static_cast<std::time_t>(t >= 0 ? t / 10000000 : -((-t + 9999999) / 10000000));
}

std::int64_t NanosecondsOf(std::int64_t file_time) { return (file_time - kEpochOffset) * 100; }

bool StampOfHandle(HANDLE file, FileStamp& stamp) {
  BY_HANDLE_FILE_INFORMATION info;
  FILE_BASIC_INFO basic;
  if (!::GetFileInformationByHandle(file, &info)) return false;
  if (!::GetFileInformationByHandleEx(file, FileBasicInfo, &basic, sizeof basic)) return false;
  stamp.size = (static_cast<std::uint64_t>(info.nFileSizeHigh) << 32) | info.nFileSizeLow;
  stamp.volume = info.dwVolumeSerialNumber;
  stamp.file_id = (static_cast<std::uint64_t>(info.nFileIndexHigh) << 32) | info.nFileIndexLow;
  stamp.mtime_ns = NanosecondsOf(basic.LastWriteTime.QuadPart);
  stamp.ctime_ns = NanosecondsOf(basic.ChangeTime.QuadPart);
  return true;
}

HANDLE OpenForAttributes(const std::string& native_path) {
  return ::CreateFileW(WidePath(native_path).c_str(), FILE_READ_ATTRIBUTES,
                       FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                       FILE_FLAG_BACKUP_SEMANTICS, nullptr);
}

}  // namespace movra
