#include "support/System.h"

#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <stdexcept>

namespace movra::test {

const char* WhyMissing(Need need) {
  switch (need) {
    case Need::kPosixModes:
      return "file modes and the root user are POSIX's; access here is decided by access control lists";
    case Need::kSymbolicLinks:
      return "symbolic links need a privilege here and are not made by the tests";
    case Need::kForkedChildren:
      return "there is no fork() here to copy the test process";
    case Need::kPosixShell:
      return "the command is a POSIX shell line, and std::system runs cmd.exe here";
    case Need::kByteNames:
      return "file names on disk are UTF-16 here, never raw GBK or invalid bytes";
    case Need::kLinuxDevices:
      return "/sys/block, mount tables and udev are Linux's; drive letters are the system's own here";
    case Need::kPosixTimeZones:
      return "the C runtime here reads a TZ value's name and offset but not its rules";
    case Need::kFolderLetters:
      return "drive letters rooted at folders and Z: at / are the Linux drive map's; here the letters are the drives";
    case Need::kSparseFiles:
      return "files are not sparse by default here: the test would fill gigabytes";
  }
  return nullptr;
}

namespace {

std::wstring Wide(const std::string& utf8) {
  const int n = ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
  std::wstring wide(static_cast<size_t>(n), L'\0');
  ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), wide.data(), n);
  return wide;
}

std::string Utf8(const std::wstring& wide) {
  const int n = ::WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0, nullptr,
                                      nullptr);
  std::string utf8(static_cast<size_t>(n), '\0');
  ::WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), utf8.data(), n, nullptr, nullptr);
  return utf8;
}

}  // namespace

std::string NewTempFolder() {
  wchar_t base[MAX_PATH + 1];
  const DWORD n = ::GetTempPathW(MAX_PATH + 1, base);
  if (n == 0 || n > MAX_PATH) throw std::runtime_error("no temporary folder");
  std::wstring folder_base = std::wstring(base, n) + L"movra-test-" + std::to_wstring(::GetCurrentProcessId()) + L"-";
  for (unsigned i = 0; i < 100000; ++i) {
    const std::wstring folder = folder_base + std::to_wstring(::GetTickCount() + i);
    if (::CreateDirectoryW(folder.c_str(), nullptr)) {
      // Tests join names with '/', which the system takes as a separator too.
      std::string path = Utf8(folder);
      for (char& c : path)
        if (c == '\\') c = '/';
      return path;
    }
    if (::GetLastError() != ERROR_ALREADY_EXISTS) break;
  }
  throw std::runtime_error("no temporary folder could be made");
}

std::filesystem::path PathOf(const std::string& native) {
  // A narrow string would be read in the ANSI code page.
  return std::filesystem::path(std::u8string(native.begin(), native.end()));
}

void SetEnvironment(const char* name, const char* value) {
  ::_putenv_s(name, value ? value : "");
  ::_tzset();
}

bool MakeLink(const std::string&, const std::string&) { return false; }

bool SetMode(const std::string&, unsigned) { return false; }

unsigned ModeOf(const std::string&) { return 0; }

bool IsLinkMode(unsigned) { return false; }

bool SetTimes(const std::string& path, std::time_t time, bool) {
  const HANDLE file = ::CreateFileW(Wide(path).c_str(), FILE_WRITE_ATTRIBUTES,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                    FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  const std::int64_t count = static_cast<std::int64_t>(time) * 10000000 + 116444736000000000LL;
  FILETIME at;
  at.dwLowDateTime = static_cast<DWORD>(count);
  at.dwHighDateTime = static_cast<DWORD>(static_cast<std::uint64_t>(count) >> 32);
  const bool ok = ::SetFileTime(file, nullptr, &at, &at) != 0;
  ::CloseHandle(file);
  return ok;
}

bool RunningAsRoot() { return false; }

// No user overrides folder permissions here.
struct FolderPermissionsObeyed::Saved {};

FolderPermissionsObeyed::FolderPermissionsObeyed() = default;

FolderPermissionsObeyed::~FolderPermissionsObeyed() = default;

int RunInChild(const std::function<int()>&, bool) { return -1; }

bool KillChildAfter(const std::function<void()>&, std::chrono::microseconds) { return false; }

bool SendInterrupt() {
  // The console delivers it on a thread of its own: give that a moment.
  if (!::GenerateConsoleCtrlEvent(CTRL_C_EVENT, 0)) return false;
  ::Sleep(200);
  return true;
}

std::string CommandOutput(const std::string& command) {
  std::string out;
  if (FILE* pipe = ::_popen(command.c_str(), "r")) {
    char buffer[4096];
    for (size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) out.append(buffer, n);
    ::_pclose(pipe);
  }
  return out;
}

int ExitStatusOf(int system_result) { return system_result; }

}  // namespace movra::test
