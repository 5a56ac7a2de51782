#include "support/System.h"

#include <fcntl.h>
#include <linux/capability.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <stdexcept>
#include <thread>
#include <utility>

extern char** environ;

namespace movra::test {

const char* WhyMissing(Need need) {
  if (need == Need::kAppDataFolder) return "the data home follows XDG_DATA_HOME and HOME here, not APPDATA";
  if (need == Need::kReadOnlyFlag) return "a file is read-only by its mode here, which the mode tests cover";
  return nullptr;
}

std::string NewTempFolder() {
  std::string templ = "/tmp/movra-test-XXXXXX";
  if (!::mkdtemp(templ.data())) throw std::runtime_error("mkdtemp failed");
  return templ;
}

std::filesystem::path PathOf(const std::string& native) { return native; }

void SetEnvironment(const char* name, const char* value) {
  if (value) {
    ::setenv(name, value, 1);
  } else {
    ::unsetenv(name);
  }
  ::tzset();
}

bool MakeLink(const std::string& target, const std::string& link) { return ::symlink(target.c_str(), link.c_str()) == 0; }

bool SetMode(const std::string& path, unsigned mode) { return ::chmod(path.c_str(), static_cast<mode_t>(mode)) == 0; }

bool SetReadOnly(const std::string&, bool) { return false; }

unsigned ModeOf(const std::string& path) {
  struct stat st;
  return ::lstat(path.c_str(), &st) == 0 ? st.st_mode : 0;
}

bool IsLinkMode(unsigned mode) { return S_ISLNK(mode); }

bool SetTimes(const std::string& path, std::time_t time, bool of_link) {
  const timespec times[2] = {{time, 0}, {time, 0}};
  return ::utimensat(AT_FDCWD, path.c_str(), times, of_link ? AT_SYMLINK_NOFOLLOW : 0) == 0;
}

bool RunningAsRoot() { return ::geteuid() == 0; }

struct FolderPermissionsObeyed::Saved {
  __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
  __user_cap_data_struct data[2] = {};
  bool active = false;
};

FolderPermissionsObeyed::FolderPermissionsObeyed() : saved_(std::make_unique<Saved>()) {
  if (::syscall(SYS_capget, &saved_->header, saved_->data) != 0) return;
  __user_cap_data_struct reduced[2] = {saved_->data[0], saved_->data[1]};
  reduced[0].effective &= ~((1u << CAP_DAC_OVERRIDE) | (1u << CAP_DAC_READ_SEARCH));
  saved_->active = ::syscall(SYS_capset, &saved_->header, reduced) == 0;
}

FolderPermissionsObeyed::~FolderPermissionsObeyed() {
  if (saved_->active) ::syscall(SYS_capset, &saved_->header, saved_->data);
}

int RunInChild(const std::function<int()>& body, bool as_nobody) {
  const pid_t child = ::fork();
  if (child < 0) return -1;
  if (child == 0) {
    if (as_nobody && (::setgid(65534) != 0 || ::setuid(65534) != 0)) ::_exit(126);
    ::_exit(body());
  }
  int status = 0;
  if (::waitpid(child, &status, 0) != child) return -1;
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

bool KillChildAfter(const std::function<void()>& body, std::chrono::microseconds delay) {
  const pid_t child = ::fork();
  if (child < 0) return false;
  if (child == 0) {
    body();
    ::_exit(0);
  }
  std::this_thread::sleep_for(delay);
  ::kill(child, SIGKILL);
  int status = 0;
  ::waitpid(child, &status, 0);
  return WIFSIGNALED(status);
}

bool SendInterrupt() { return ::raise(SIGINT) == 0; }

namespace {

// Starts a command; its process id, or -1 when it could not start.
pid_t Spawn(const ChildCommand& command) {
  if (command.arguments.empty()) return -1;
  std::vector<char*> argv;
  for (const std::string& argument : command.arguments) argv.push_back(const_cast<char*>(argument.c_str()));
  argv.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  ::posix_spawn_file_actions_init(&actions);
  ::posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
  for (const auto& [fd, path] : {std::pair{1, &command.out_path}, std::pair{2, &command.err_path}}) {
    ::posix_spawn_file_actions_addopen(&actions, fd, path->empty() ? "/dev/null" : path->c_str(),
                                       O_WRONLY | O_CREAT | O_TRUNC, 0644);
  }
  pid_t child = -1;
  if (::posix_spawnp(&child, argv[0], &actions, nullptr, argv.data(), environ) != 0) child = -1;
  ::posix_spawn_file_actions_destroy(&actions);
  return child;
}

}  // namespace

std::vector<int> RunChildren(const std::vector<ChildCommand>& commands) {
  std::vector<pid_t> children;
  for (const ChildCommand& command : commands) children.push_back(Spawn(command));
  std::vector<int> statuses(commands.size(), -1);
  for (size_t i = 0; i < children.size(); ++i) {
    int status = 0;
    if (children[i] > 0 && ::waitpid(children[i], &status, 0) == children[i] && WIFEXITED(status)) {
      statuses[i] = WEXITSTATUS(status);
    }
  }
  return statuses;
}

bool RunningChild::Kill() {
  if (process_ < 0) return false;
  const auto child = static_cast<pid_t>(process_);
  process_ = -1;
  int status = 0;
  const bool running = ::waitpid(child, &status, WNOHANG) == 0;
  if (running) {
    ::kill(child, SIGKILL);
    ::waitpid(child, &status, 0);
  }
  return running;
}

std::unique_ptr<RunningChild> StartChild(const ChildCommand& command) {
  const pid_t child = Spawn(command);
  return child > 0 ? std::make_unique<RunningChild>(child) : nullptr;
}

std::string TestProgramPath() {
  std::error_code error;
  return std::filesystem::read_symlink("/proc/self/exe", error).string();
}

int RunChild(const ChildCommand& command) { return RunChildren({command}).front(); }

std::optional<std::string> ToolPath(const std::string& name) {
  const char* path = std::getenv("PATH");
  std::string folders = path ? path : "/usr/bin:/bin";
  for (size_t start = 0; start <= folders.size();) {
    size_t end = folders.find(':', start);
    if (end == std::string::npos) end = folders.size();
    const std::string candidate = folders.substr(start, end - start) + "/" + name;
    if (end > start && ::access(candidate.c_str(), X_OK) == 0) return candidate;
    start = end + 1;
  }
  return std::nullopt;
}

std::string ToolArgument(const std::string& native) { return native; }

std::string CommandOutput(const std::string& command) {
  std::string out;
  if (FILE* pipe = ::popen(command.c_str(), "r")) {
    char buffer[4096];
    for (size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) out.append(buffer, n);
    ::pclose(pipe);
  }
  return out;
}

int ExitStatusOf(int system_result) { return WIFEXITED(system_result) ? WEXITSTATUS(system_result) : -1; }

}  // namespace movra::test
