#include "platform/Console.h"

#include <windows.h>

#include <atomic>

namespace movra {
namespace {

std::atomic<bool> g_interrupted{false};

// Ctrl+C and Ctrl+Break raise the flag; closing the console still ends the program.
BOOL WINAPI OnControl(DWORD event) {
  if (event != CTRL_C_EVENT && event != CTRL_BREAK_EVENT) return FALSE;
  g_interrupted = true;
  return TRUE;
}

}  // namespace

bool IsTerminal(ConsoleStream stream) {
  const HANDLE handle = ::GetStdHandle(stream == ConsoleStream::kOutput ? STD_OUTPUT_HANDLE : STD_ERROR_HANDLE);
  DWORD mode = 0;
  return handle != INVALID_HANDLE_VALUE && handle != nullptr && ::GetConsoleMode(handle, &mode) != 0;
}

void CatchInterrupt() {
  static const bool installed = ::SetConsoleCtrlHandler(OnControl, TRUE) != 0;
  (void)installed;
}

bool Interrupted() { return g_interrupted; }

}  // namespace movra
