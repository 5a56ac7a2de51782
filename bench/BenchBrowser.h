// Opening a web page in headless Chromium, driven over its debugging pipe
// (messages of JSON ending in a NUL byte, commands on the browser's fd 3 and
// answers on its fd 4), timed until the page's script has put child nodes
// into one element and the next frame after that has been drawn.
#pragma once

#include <fcntl.h>
#include <signal.h>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

namespace movra::bench {

// What one opening of a page took; error tells why when it failed.
struct PageOpening {
  std::string error;
  std::string browser;   // the browser's product and version
  double startup = 0;    // seconds from starting the browser to its first answer
  double run = 0;        // seconds from starting the browser to the frame drawn with the element's children
  // Milliseconds since the navigation started, as the page measured them:
  double loaded = 0;     // the file's last byte read
  double shown = 0;      // the element's first child in the document
  double drawn = 0;      // the next frame drawn after that
  int children = 0;      // the element's children at that moment
  bool ok() const { return error.empty(); }
};

// Watches for the element's first child from the start of every document,
// then reports the times and the children through a binding after the next frame.
inline std::string PageWatcher(const std::string& element_id) {
  return R"JS(
new MutationObserver(function (changes, observer) {
  var box = document.getElementById(")JS" + element_id + R"JS(");
  if (!box || !box.firstChild) return;
  observer.disconnect();
  var shown = performance.now(), children = box.children.length;
  requestAnimationFrame(function () {
    setTimeout(function () {
      var nav = performance.getEntriesByType("navigation")[0];
      movraShown(JSON.stringify({shown: shown, drawn: performance.now(), children: children,
                                 loaded: nav ? nav.responseEnd : 0}));
    }, 0);
  });
}).observe(document, {childList: true, subtree: true});
)JS";
}

// One headless browser driven over its pipe; closed (or killed with the
// process group it leads) when it goes.
class PipedBrowser {
 public:
  using Clock = std::chrono::steady_clock;

  // Starts the browser with a profile folder of its own.
  PipedBrowser(const std::string& program, const std::string& profile) {
    std::filesystem::remove_all(profile);
    int to_browser[2], from_browser[2];
    if (::pipe2(to_browser, O_CLOEXEC) != 0 || ::pipe2(from_browser, O_CLOEXEC) != 0) return;
    const std::string profile_flag = "--user-data-dir=" + profile;
    const char* argv[] = {program.c_str(), "--headless=new", "--no-sandbox", "--disable-gpu",
                          "--no-first-run", "--no-default-browser-check", "--disable-extensions",
                          "--window-size=1280,1024", "--remote-debugging-pipe", profile_flag.c_str(),
                          "about:blank", nullptr};
    pid_ = ::fork();
    if (pid_ == 0) {
      ::setpgid(0, 0);
      // fd 3 and 4 may be the pipes' own numbers: move the ends out of the way first.
      const int in = ::fcntl(to_browser[0], F_DUPFD_CLOEXEC, 10), out = ::fcntl(from_browser[1], F_DUPFD_CLOEXEC, 10);
      const int null = ::open("/dev/null", O_RDWR);
      if (in < 0 || out < 0 || null < 0 || ::dup2(in, 3) < 0 || ::dup2(out, 4) < 0 || ::dup2(null, 1) < 0 ||
          ::dup2(null, 2) < 0)
        ::_exit(127);
      ::execv(program.c_str(), const_cast<char* const*>(argv));
      ::_exit(127);
    }
    ::close(to_browser[0]);
    ::close(from_browser[1]);
    write_ = to_browser[1];
    read_ = from_browser[0];
    if (pid_ < 0) {
      Close();
      return;
    }
    ::signal(SIGPIPE, SIG_IGN);  // a browser gone makes writes fail instead
  }

  ~PipedBrowser() { Close(); }

  // Sends a command (to a page's session when given) and returns its number.
  int Send(const std::string& method, const nlohmann::json& params = nlohmann::json::object(),
           const std::string& session = {}) {
    nlohmann::json message = {{"id", ++last_id_}, {"method", method}, {"params", params}};
    if (!session.empty()) message["sessionId"] = session;
    std::string text = message.dump();
    text += '\0';
    for (std::size_t at = 0; at < text.size();) {
      const ssize_t n = ::write(write_, text.data() + at, text.size() - at);
      if (n <= 0) return -1;
      at += static_cast<std::size_t>(n);
    }
    return last_id_;
  }

  // The next message before the deadline; null when none came.
  nlohmann::json Receive(Clock::time_point deadline) {
    for (;;) {
      const std::size_t end = buffer_.find('\0');
      if (end != std::string::npos) {
        nlohmann::json message = nlohmann::json::parse(buffer_.substr(0, end), nullptr, false);
        buffer_.erase(0, end + 1);
        return message.is_discarded() ? nlohmann::json::object() : message;
      }
      const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
      pollfd wait{read_, POLLIN, 0};
      if (left <= 0 || ::poll(&wait, 1, static_cast<int>(left)) <= 0) return nullptr;
      char chunk[1 << 16];
      const ssize_t n = ::read(read_, chunk, sizeof chunk);
      if (n <= 0) return nullptr;
      buffer_.append(chunk, static_cast<std::size_t>(n));
    }
  }

  // Sends a command and waits for its answer; null on timeout or an error answer.
  nlohmann::json Call(const std::string& method, const nlohmann::json& params, const std::string& session,
                      Clock::time_point deadline) {
    const int id = Send(method, params, session);
    if (id < 0) return nullptr;
    for (nlohmann::json message; !(message = Receive(deadline)).is_null();) {
      if (message.value("id", 0) != id) continue;
      return message.contains("result") ? message["result"] : nlohmann::json();
    }
    return nullptr;
  }

  // Closes the browser: politely, else its whole process group.
  void Close() {
    if (pid_ > 0) {
      if (write_ >= 0) Send("Browser.close");
      int status = 0;
      for (int i = 0; i < 100 && ::waitpid(pid_, &status, WNOHANG) == 0; ++i) ::usleep(50'000);
      if (::waitpid(pid_, &status, WNOHANG) == 0) {
        ::kill(-pid_, SIGKILL);
        ::waitpid(pid_, &status, 0);
      }
      pid_ = -1;
    }
    for (int* fd : {&write_, &read_})
      if (*fd >= 0) {
        ::close(*fd);
        *fd = -1;
      }
  }

  // True once the browser has been started.
  bool started() const { return pid_ > 0; }

 private:
  pid_t pid_ = -1;
  int write_ = -1, read_ = -1;
  int last_id_ = 0;
  std::string buffer_;
};

// An opening that failed for the reason given.
inline PageOpening Failed(std::string error) {
  PageOpening opening;
  opening.error = std::move(error);
  return opening;
}

// Starts program headless, opens url and waits (at most timeout seconds)
// until the element has children and the next frame is drawn.
inline PageOpening OpenPage(const std::string& program, const std::string& url, const std::string& element_id,
                            const std::string& profile, double timeout) {
  using Clock = PipedBrowser::Clock;
  PageOpening opening;
  const Clock::time_point start = Clock::now();
  const Clock::time_point deadline =
      start + std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(timeout));
  auto seconds_since = [](Clock::time_point from) {
    return std::chrono::duration<double>(Clock::now() - from).count();
  };
  PipedBrowser browser(program, profile);
  if (!browser.started()) return Failed("cannot start " + program);
  const nlohmann::json version = browser.Call("Browser.getVersion", nlohmann::json::object(), {}, deadline);
  if (!version.is_object()) return Failed(program + " did not answer on its debugging pipe");
  opening.startup = seconds_since(start);
  opening.browser = version.value("product", "");
  const nlohmann::json target = browser.Call("Target.createTarget", {{"url", "about:blank"}}, {}, deadline);
  const nlohmann::json attached =
      target.is_object()
          ? browser.Call("Target.attachToTarget", {{"targetId", target.value("targetId", "")}, {"flatten", true}}, {},
                         deadline)
          : nlohmann::json();
  const std::string session = attached.is_object() ? attached.value("sessionId", "") : "";
  if (session.empty()) return Failed("no page to open in " + program);
  for (const auto& [method, params] : std::vector<std::pair<std::string, nlohmann::json>>{
           {"Page.enable", nlohmann::json::object()},
           {"Runtime.enable", nlohmann::json::object()},
           {"Runtime.addBinding", {{"name", "movraShown"}}},
           {"Page.addScriptToEvaluateOnNewDocument", {{"source", PageWatcher(element_id)}}}})
    if (!browser.Call(method, params, session, deadline).is_object()) return Failed(method + " failed");
  const int navigation = browser.Send("Page.navigate", {{"url", url}}, session);
  for (nlohmann::json message; !(message = browser.Receive(deadline)).is_null();) {
    if (message.value("method", "") != "Runtime.bindingCalled") {
      const bool failed =
          message.contains("error") || (message.contains("result") && message["result"].contains("errorText"));
      if (message.value("id", 0) == navigation && failed)
        return Failed("opening " + url + " failed: " + message.dump());
      continue;
    }
    opening.run = seconds_since(start);
    const nlohmann::json times = nlohmann::json::parse(message["params"].value("payload", ""), nullptr, false);
    if (!times.is_object()) return Failed("the page reported no times");
    opening.loaded = times.value("loaded", 0.0);
    opening.shown = times.value("shown", 0.0);
    opening.drawn = times.value("drawn", 0.0);
    opening.children = times.value("children", 0);
    return opening;
  }
  return Failed("#" + element_id + " got no children within " + std::to_string(static_cast<int>(timeout)) + " s");
}

}  // namespace movra::bench
