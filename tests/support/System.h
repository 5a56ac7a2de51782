// What the tests ask of the operating system beyond the program's own
// seams (temporary folders, the environment, links, modes, times, child
// processes), and which services this system lacks, so that a test of one
// is skipped here with its reason. Each system's side is in linux/ or windows/.
#pragma once

#include <chrono>
#include <cstdint>
#include <ctime>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace movra::test {

// A service of the system that some tests need.
enum class Need {
  kPosixModes,      // file modes, the root user and folders that cannot be entered
  kSymbolicLinks,   // symbolic links made by any user
  kForkedChildren,  // a copy of the test process (fork) that can be killed
  kPosixShell,      // std::system running POSIX shell lines and tools
  kByteNames,       // file names on disk as raw bytes (not UTF-16)
  kLinuxDevices,    // /sys/block, mount tables and the device manager's database
  kSparseFiles,     // files of gigabytes that take no space
  kPosixTimeZones,  // TZ values with rules ("EST5EDT,M4.1.0,M10.5.0")
  kFolderLetters,   // the drive map's letters rooted at any folder, Z: at "/" holding every native path
  kAppDataFolder,   // a folder the system names for users' program files (APPDATA), the data home's default
  kGb18030,         // a converter of GB18030 (code page 54936), four-byte sequences included
  kReadOnlyFlag,    // a read-only attribute of files, apart from any permissions
};

// Why a test that needs the service is skipped here; nullptr when the system has it.
const char* WhyMissing(Need need);

// A fresh, empty folder in the system's temporary folder (native path, no trailing separator).
std::string NewTempFolder();

// A native path (UTF-8 bytes) as the standard library's path of the same file.
std::filesystem::path PathOf(const std::string& native);

// Sets (value non-null, UTF-8) or removes an environment variable, and takes a changed TZ into account.
void SetEnvironment(const char* name, const char* value);

// Makes a symbolic link at link to target (relative to the link's folder); false on failure.
bool MakeLink(const std::string& target, const std::string& link);

// Sets the permission bits of a path; false on failure.
bool SetMode(const std::string& path, unsigned mode);

// Sets or clears the read-only attribute of a file (kReadOnlyFlag); false on failure.
bool SetReadOnly(const std::string& path, bool read_only);

// The mode of a path itself (not a link's target); 0 when there is none.
unsigned ModeOf(const std::string& path);

// True when a mode (ModeOf) is a symbolic link's.
bool IsLinkMode(unsigned mode);

// Sets the access and modification times of a path (of a link itself with of_link).
bool SetTimes(const std::string& path, std::time_t time, bool of_link = false);

// True when the tests run as the user who may read and write anything.
bool RunningAsRoot();

// While it lives, this thread obeys folder permissions even as root: the
// capabilities that override them leave its effective set.
class FolderPermissionsObeyed {
 public:
  FolderPermissionsObeyed();
  ~FolderPermissionsObeyed();
  FolderPermissionsObeyed(const FolderPermissionsObeyed&) = delete;
  FolderPermissionsObeyed& operator=(const FolderPermissionsObeyed&) = delete;

 private:
  struct Saved;
  std::unique_ptr<Saved> saved_;
};

// Runs body in a child process, as an ordinary user when as_nobody; its exit
// status, or -1 when it could not run or did not exit.
int RunInChild(const std::function<int()>& body, bool as_nobody);

// Starts body in a child process and kills it after delay; true when the kill ended it.
bool KillChildAfter(const std::function<void()>& body, std::chrono::microseconds delay);

// Sends this process an interrupt (Ctrl+C) and lets it arrive; false when it could not be sent.
bool SendInterrupt();

// A program to run as a child process: its arguments (the program first:
// a path, or a name looked up on the search path), all native (UTF-8); its
// standard input is empty and its two outputs go to files.
struct ChildCommand {
  std::vector<std::string> arguments;
  std::string out_path;  // receives standard output (created or emptied); empty: discarded
  std::string err_path;  // receives standard error (created or emptied); empty: discarded
};

// Starts every command at once and waits until all have ended; their exit
// statuses in the same order, -1 for one that could not start or did not exit.
std::vector<int> RunChildren(const std::vector<ChildCommand>& commands);

// Runs one command to its end; its exit status, -1 when it could not start or did not exit.
int RunChild(const ChildCommand& command);

// A child process left running; killed, if it still runs, on destruction.
class RunningChild {
 public:
  explicit RunningChild(std::intptr_t process) : process_(process) {}
  ~RunningChild() { Kill(); }
  RunningChild(const RunningChild&) = delete;
  RunningChild& operator=(const RunningChild&) = delete;
  // Ends it at once, as a crash would, and waits until it is gone; false when it had ended already.
  bool Kill();

 private:
  std::intptr_t process_;  // the process id or handle; -1 once it is gone
};

// Starts a command and leaves it running; null when it could not start.
std::unique_ptr<RunningChild> StartChild(const ChildCommand& command);

// The path of the running test program, which a test starts again to play a second process.
std::string TestProgramPath();

// A program of the machine that tests run to make their input (xorriso,
// genisoimage, python3): its path, or nullopt when it is not installed.
// Under Wine the host's programs count: Wine starts them as children too.
std::optional<std::string> ToolPath(const std::string& name);

// A native path as such a program reads it in its arguments (under Wine,
// the host's path of the same file).
std::string ToolArgument(const std::string& native);

// Runs a tool (ToolPath) on arguments, paths among them as ToolArgument
// gives them, its output discarded; its exit status, -1 when it is missing
// or could not run.
inline int RunTool(const std::string& name, std::vector<std::string> arguments) {
  const std::optional<std::string> tool = ToolPath(name);
  if (!tool) return -1;
  arguments.insert(arguments.begin(), *tool);
  return RunChild({arguments, {}, {}});
}

// What a shell command writes to its standard output; empty when it cannot run.
std::string CommandOutput(const std::string& command);

// The exit status of a command from std::system's result; -1 when it did not exit.
int ExitStatusOf(int system_result);

}  // namespace movra::test

// Skips the running test where the system lacks the service, printing why.
#define MOVRA_SKIP_WITHOUT(need)                                                         \
  if (const char* movra_why_ = ::movra::test::WhyMissing(::movra::test::Need::need)) \
  GTEST_SKIP() << movra_why_
