// What the tests ask of the operating system beyond the program's own
// seams (temporary folders, the environment, links, modes, times, child
// processes), and which services this system lacks, so that a test of one
// is skipped here with its reason. Each system's side is in linux/ or windows/.
#pragma once

#include <chrono>
#include <ctime>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>

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
};

// Why a test that needs the service is skipped here; nullptr when the system has it.
const char* WhyMissing(Need need);

// A fresh, empty folder in the system's temporary folder (native path, no trailing separator).
std::string NewTempFolder();

// A native path (UTF-8 bytes) as the standard library's path of the same file.
std::filesystem::path PathOf(const std::string& native);

// Sets (value non-null) or removes an environment variable, and takes a changed TZ into account.
void SetEnvironment(const char* name, const char* value);

// Makes a symbolic link at link to target (relative to the link's folder); false on failure.
bool MakeLink(const std::string& target, const std::string& link);

// Sets the permission bits of a path; false on failure.
bool SetMode(const std::string& path, unsigned mode);

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

// What a shell command writes to its standard output; empty when it cannot run.
std::string CommandOutput(const std::string& command);

// The exit status of a command from std::system's result; -1 when it did not exit.
int ExitStatusOf(int system_result);

}  // namespace movra::test

// Skips the running test where the system lacks the service, printing why.
#define MOVRA_SKIP_WITHOUT(need)                                                         \
  if (const char* movra_why_ = ::movra::test::WhyMissing(::movra::test::Need::need)) \
  GTEST_SKIP() << movra_why_
