#include "platform/Console.h"

#include "platform/windows/WinText.h"

#include <shellapi.h>

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

// argv holds the arguments in the ANSI code page, where other characters are lost.
std::vector<std::string> CommandArguments(int, char**) {
  std::vector<std::string> arguments;
  int count = 0;
  wchar_t** wide = ::CommandLineToArgvW(::GetCommandLineW(), &count);
  if (wide == nullptr) return arguments;
  for (int i = 1; i < count; ++i) arguments.push_back(Utf8Of(wide[i]));
  ::LocalFree(wide);
  return arguments;
}

}  // namespace movra
