#include "platform/Console.h"

#include <atomic>
#include <csignal>
#include <unistd.h>

namespace movra {
namespace {

std::atomic<bool> g_interrupted{false};

void OnInterrupt(int) { g_interrupted = true; }

}  // namespace

// Streams are bytes and terminals UTF-8 already.
void UseUtf8Output() {}

bool IsTerminal(ConsoleStream stream) {
  return ::isatty(stream == ConsoleStream::kOutput ? STDOUT_FILENO : STDERR_FILENO) == 1;
}

void CatchInterrupt() {
  struct sigaction action {};
  action.sa_handler = OnInterrupt;
  sigemptyset(&action.sa_mask);
  sigaction(SIGINT, &action, nullptr);
}

bool Interrupted() { return g_interrupted; }

std::vector<std::string> CommandArguments(int argc, char** argv) {
  return std::vector<std::string>(argv + (argc > 0 ? 1 : 0), argv + argc);
}

}  // namespace movra
