#include "support/System.h"

#include <windows.h>

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <stdexcept>
#include <vector>

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
    case Need::kAppDataFolder:
    case Need::kReadOnlyFlag:
      return nullptr;
    case Need::kGb18030: {
      // Windows has code page 54936; Wine has none: try it.
      wchar_t wide[4];
      const bool converts = ::IsValidCodePage(54936) &&
                            ::MultiByteToWideChar(54936, MB_ERR_INVALID_CHARS, "\x94\x39\xFC\x36", 4, wide, 4) == 2;
      return converts ? nullptr : "code page 54936 (GB18030) does not convert here (Wine lacks it; Windows has it)";
    }
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

// One argument as the C runtime's parser reads it back: quoted when it holds
// a blank or a quote (or is empty), a quote escaped by a backslash, and the
// backslashes before a quote or the closing quote doubled.
std::wstring QuotedArgument(const std::wstring& argument) {
  if (!argument.empty() && argument.find_first_of(L" \t\n\v\"") == std::wstring::npos) return argument;
  std::wstring quoted = L"\"";
  size_t backslashes = 0;
  for (const wchar_t c : argument) {
    if (c == L'\\') {
      ++backslashes;
      continue;
    }
    quoted.append(c == L'"' ? backslashes * 2 + 1 : backslashes, L'\\');
    backslashes = 0;
    quoted.push_back(c);
  }
  quoted.append(backslashes * 2, L'\\');
  return quoted + L"\"";
}

// The program of a command as the system starts it: a path made absolute with
// backslashes, or a bare name searched for (.exe added) on the search path.
std::wstring ProgramPath(const std::string& program) {
  std::wstring wide = Wide(program);
  if (wide.find_first_of(L"/\\:") == std::wstring::npos) {
    wchar_t found[MAX_PATH];
    const DWORD n = ::SearchPathW(nullptr, wide.c_str(), L".exe", MAX_PATH, found, nullptr);
    return n > 0 && n < MAX_PATH ? std::wstring(found, n) : std::wstring();
  }
  for (wchar_t& c : wide)
    if (c == L'/') c = L'\\';
  wchar_t full[32768];
  const DWORD n = ::GetFullPathNameW(wide.c_str(), 32768, full, nullptr);
  return n > 0 && n < 32768 ? std::wstring(full, n) : std::wstring();
}

// A file opened so that a child inherits it as one of its standard streams.
HANDLE InheritedFile(const std::wstring& path, DWORD access, DWORD disposition) {
  SECURITY_ATTRIBUTES inherit{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
  return ::CreateFileW(path.c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, &inherit,
                       disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
}

// Wine's own conversions between its paths and the host's; null on Windows itself.
using UnixNameFunction = char* (*)(const wchar_t*);
using DosNameFunction = wchar_t* (*)(const char*);
template <typename Function>
Function WineFunction(const char* name) {
  return reinterpret_cast<Function>(
      reinterpret_cast<void*>(::GetProcAddress(::GetModuleHandleW(L"kernel32.dll"), name)));
}

// True when a program file is not a Windows one: under Wine, a host program.
bool IsHostProgram(const std::wstring& program) {
  const HANDLE file = ::CreateFileW(program.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                    OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  char magic[2] = {};
  DWORD got = 0;
  const bool read = ::ReadFile(file, magic, 2, &got, nullptr) && got == 2;
  ::CloseHandle(file);
  return read && !(magic[0] == 'M' && magic[1] == 'Z');
}

// Wine starts a host program without a process to wait on; the host's shell
// runs it instead and leaves its exit status in status_file (host path) once it ends.
ChildCommand ThroughHostShell(const ChildCommand& command, const std::wstring& program, const std::string& status_file) {
  static const auto unix_name = WineFunction<UnixNameFunction>("wine_get_unix_file_name");
  ChildCommand shell = command;
  const std::optional<std::string> sh = ToolPath("sh");
  char* host_program = unix_name && sh ? unix_name(program.c_str()) : nullptr;
  if (host_program == nullptr) return command;
  // Wine hands a host program no stream it cannot map to a file: discarded output goes to /dev/null there.
  // Names are UTF-8 on both sides, whatever locale reaches the tool.
  std::string script = "export LC_ALL=C.UTF-8; s=$1; shift; \"$@\"; echo $? >\"$s.part\"; mv \"$s.part\" \"$s\"";
  if (command.err_path.empty()) script = "exec 2>/dev/null; " + script;
  if (command.out_path.empty()) script = "exec >/dev/null; " + script;
  shell.arguments = {*sh, "-c", script, "sh", status_file, host_program};
  ::HeapFree(::GetProcessHeap(), 0, host_program);
  shell.arguments.insert(shell.arguments.end(), command.arguments.begin() + 1, command.arguments.end());
  return shell;
}

// Starts a command; its process handle (INVALID_HANDLE_VALUE for one that
// comes without), or nullptr when it could not start.
HANDLE Launch(const ChildCommand& command) {
  if (command.arguments.empty()) return nullptr;
  const std::wstring program = ProgramPath(command.arguments.front());
  if (program.empty()) return nullptr;
  // The program's own name is read up to the next quote, without escapes.
  std::wstring line = L"\"" + program + L"\"";
  for (size_t i = 1; i < command.arguments.size(); ++i) line += L" " + QuotedArgument(Wide(command.arguments[i]));
  const HANDLE input = InheritedFile(L"NUL", GENERIC_READ, OPEN_EXISTING);
  const auto output_file = [](const std::string& path) {
    return path.empty() ? InheritedFile(L"NUL", GENERIC_WRITE, OPEN_EXISTING)
                        : InheritedFile(Wide(path), GENERIC_WRITE, CREATE_ALWAYS);
  };
  const HANDLE output = output_file(command.out_path);
  const HANDLE error = output_file(command.err_path);
  PROCESS_INFORMATION process{};
  bool started = false;
  if (input != INVALID_HANDLE_VALUE && output != INVALID_HANDLE_VALUE && error != INVALID_HANDLE_VALUE) {
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = input;
    startup.hStdOutput = output;
    startup.hStdError = error;
    // Under Wine a start now and then fails while the system is busy
    // starting or ending other processes: it is tried again before the run
    // counts as failed, and the reason is printed.
    for (int attempt = 0; attempt < 5 && !started; ++attempt) {
      if (attempt > 0) ::Sleep(200);
      started = ::CreateProcessW(program.c_str(), line.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr,
                                 &startup, &process) != 0;
    }
    if (!started) std::fprintf(stderr, "CreateProcessW failed with error %lu\n", ::GetLastError());
  } else {
    std::fprintf(stderr, "the child's standard handles could not be opened (error %lu)\n", ::GetLastError());
  }
  for (const HANDLE handle : {input, output, error})
    if (handle != INVALID_HANDLE_VALUE) ::CloseHandle(handle);
  if (!started) return nullptr;
  if (process.hThread != nullptr) ::CloseHandle(process.hThread);
  // A host program started by Wine comes without a process handle.
  return process.hProcess != nullptr ? process.hProcess : INVALID_HANDLE_VALUE;
}

}  // namespace

std::vector<int> RunChildren(const std::vector<ChildCommand>& commands) {
  static std::atomic<unsigned> counter{0};
  std::vector<HANDLE> processes;
  std::vector<std::string> status_files(commands.size());  // of host programs, native
  for (size_t i = 0; i < commands.size(); ++i) {
    const ChildCommand& command = commands[i];
    const std::wstring program = command.arguments.empty() ? std::wstring() : ProgramPath(command.arguments.front());
    if (program.empty() || !IsHostProgram(program)) {
      processes.push_back(Launch(command));
      continue;
    }
    wchar_t temp[MAX_PATH + 1];
    const DWORD n = ::GetTempPathW(MAX_PATH + 1, temp);
    status_files[i] = Utf8(std::wstring(temp, n)) + "movra-status-" + std::to_string(::GetCurrentProcessId()) + "-" +
                      std::to_string(counter++);
    const HANDLE shell = Launch(ThroughHostShell(command, program, ToolArgument(status_files[i])));
    if (shell != nullptr && shell != INVALID_HANDLE_VALUE) ::CloseHandle(shell);
    if (shell == nullptr) status_files[i].clear();
    processes.push_back(nullptr);
  }
  for (HANDLE& process : processes)
    if (process == INVALID_HANDLE_VALUE) process = nullptr;
  std::vector<HANDLE> running;
  for (const HANDLE process : processes)
    if (process != nullptr) running.push_back(process);
  for (size_t from = 0; from < running.size(); from += MAXIMUM_WAIT_OBJECTS) {
    const DWORD count = static_cast<DWORD>(std::min<size_t>(running.size() - from, MAXIMUM_WAIT_OBJECTS));
    if (::WaitForMultipleObjects(count, running.data() + from, TRUE, INFINITE) == WAIT_FAILED)
      std::fprintf(stderr, "WaitForMultipleObjects failed with error %lu\n", ::GetLastError());
  }
  std::vector<int> statuses;
  for (size_t i = 0; i < commands.size(); ++i) {
    const HANDLE process = processes[i];
    DWORD code = 0;
    int status = process != nullptr && ::GetExitCodeProcess(process, &code) && code != STILL_ACTIVE
                     ? static_cast<int>(code)
                     : -1;
    if (process != nullptr) ::CloseHandle(process);
    if (!status_files[i].empty()) {
      // Ten minutes at most, as long as the slowest tool a test runs could take.
      for (int waited = 0; waited < 60000 && ::GetFileAttributesW(Wide(status_files[i]).c_str()) ==
                                                 INVALID_FILE_ATTRIBUTES; ++waited) {
        ::Sleep(10);
      }
      const HANDLE file = ::CreateFileW(Wide(status_files[i]).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                        OPEN_EXISTING, 0, nullptr);
      if (file != INVALID_HANDLE_VALUE) {
        char text[16] = {};
        DWORD got = 0;
        if (::ReadFile(file, text, sizeof text - 1, &got, nullptr) && got > 0) status = std::atoi(text);
        ::CloseHandle(file);
        ::DeleteFileW(Wide(status_files[i]).c_str());
      }
    }
    statuses.push_back(status);
  }
  return statuses;
}

int RunChild(const ChildCommand& command) { return RunChildren({command}).front(); }

bool RunningChild::Kill() {
  if (process_ == -1) return false;
  const HANDLE process = reinterpret_cast<HANDLE>(process_);
  process_ = -1;
  const bool running = ::WaitForSingleObject(process, 0) == WAIT_TIMEOUT;
  if (running) {
    ::TerminateProcess(process, 137);
    ::WaitForSingleObject(process, INFINITE);
  }
  ::CloseHandle(process);
  return running;
}

std::unique_ptr<RunningChild> StartChild(const ChildCommand& command) {
  const HANDLE process = Launch(command);
  if (process == nullptr || process == INVALID_HANDLE_VALUE) return nullptr;
  return std::make_unique<RunningChild>(reinterpret_cast<std::intptr_t>(process));
}

std::string TestProgramPath() {
  wchar_t path[32768];
  const DWORD n = ::GetModuleFileNameW(nullptr, path, 32768);
  return n > 0 && n < 32768 ? Utf8(std::wstring(path, n)) : std::string();
}


std::optional<std::string> ToolPath(const std::string& name) {
  if (const std::wstring found = ProgramPath(name); !found.empty()) return Utf8(found);
  static const auto dos_name = WineFunction<DosNameFunction>("wine_get_dos_file_name");
  if (dos_name == nullptr) return std::nullopt;
  // The host's programs, which Wine starts as it starts its own.
  for (const char* folder : {"/usr/local/bin/", "/usr/bin/", "/bin/", "/usr/sbin/", "/sbin/"}) {
    wchar_t* converted = dos_name((folder + name).c_str());
    if (converted == nullptr) continue;
    const std::wstring path = converted;
    ::HeapFree(::GetProcessHeap(), 0, converted);
    const DWORD attributes = ::GetFileAttributesW(path.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY)) return Utf8(path);
  }
  return std::nullopt;
}

std::string ToolArgument(const std::string& native) {
  static const auto unix_name = WineFunction<UnixNameFunction>("wine_get_unix_file_name");
  if (unix_name == nullptr) return native;
  char* converted = unix_name(Wide(native).c_str());
  if (converted == nullptr) return native;
  std::string path = converted;
  ::HeapFree(::GetProcessHeap(), 0, converted);
  return path;
}

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
  // Wide, so that a value outside the ANSI code page arrives whole.
  ::_wputenv_s(Wide(name).c_str(), Wide(value ? value : "").c_str());
  ::_tzset();
}

bool MakeLink(const std::string&, const std::string&) { return false; }

bool SetMode(const std::string&, unsigned) { return false; }

bool SetReadOnly(const std::string& path, bool read_only) {
  const std::wstring wide = Wide(path);
  const DWORD attributes = ::GetFileAttributesW(wide.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return false;
  const DWORD changed = read_only ? attributes | FILE_ATTRIBUTE_READONLY : attributes & ~DWORD{FILE_ATTRIBUTE_READONLY};
  return ::SetFileAttributesW(wide.c_str(), changed) != 0;
}

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
  // A test whose output goes to pipes (as under ctest) may have no console to send the event
  // through, or one that cannot send it (Wine's own): it gets a console of its own for the event,
  // keeping its standard handles, which the new console would take over.
  DWORD mode = 0;
  if (!::GetConsoleMode(::GetStdHandle(STD_OUTPUT_HANDLE), &mode) &&
      !::GetConsoleMode(::GetStdHandle(STD_ERROR_HANDLE), &mode)) {
    const HANDLE in = ::GetStdHandle(STD_INPUT_HANDLE), out = ::GetStdHandle(STD_OUTPUT_HANDLE),
                 err = ::GetStdHandle(STD_ERROR_HANDLE);
    ::FreeConsole();
    ::AllocConsole();
    ::SetStdHandle(STD_INPUT_HANDLE, in);
    ::SetStdHandle(STD_OUTPUT_HANDLE, out);
    ::SetStdHandle(STD_ERROR_HANDLE, err);
  }
  // The console delivers it on a thread of its own: give that a moment. A console of the test's
  // own stays until it ends: Wine's FreeConsole also cuts the handles given back above.
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
