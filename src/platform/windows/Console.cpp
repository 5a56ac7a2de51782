#include "platform/Console.h"

#include "platform/windows/WinText.h"

#include <fcntl.h>
#include <io.h>
#include <shellapi.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>

namespace movra {
namespace {

std::atomic<bool> g_interrupted{false};

// Ctrl+C and Ctrl+Break raise the flag; closing the console still ends the program.
BOOL WINAPI OnControl(DWORD event) {
  if (event != CTRL_C_EVENT && event != CTRL_BREAK_EVENT) return FALSE;
  g_interrupted = true;
  return TRUE;
}

UINT g_console_code_page = 0;

// The console keeps its code page after the program: give it back.
void RestoreConsoleCodePage() { ::SetConsoleOutputCP(g_console_code_page); }

}  // namespace

void UseUtf8Output() {
  // Text mode would write every line feed as CR LF, and CR LF as CR CR LF.
  ::_setmode(::_fileno(stdout), _O_BINARY);
  ::_setmode(::_fileno(stderr), _O_BINARY);
  if (!IsTerminal(ConsoleStream::kOutput) && !IsTerminal(ConsoleStream::kError)) return;
  // Progress lines redraw themselves with "\r\033[K".
  for (const DWORD which : {STD_OUTPUT_HANDLE, STD_ERROR_HANDLE}) {
    const HANDLE handle = ::GetStdHandle(which);
    DWORD mode = 0;
    if (::GetConsoleMode(handle, &mode)) ::SetConsoleMode(handle, mode | 0x0004);  // ENABLE_VIRTUAL_TERMINAL_PROCESSING
  }
  g_console_code_page = ::GetConsoleOutputCP();
  if (g_console_code_page != CP_UTF8 && ::SetConsoleOutputCP(CP_UTF8)) std::atexit(RestoreConsoleCodePage);
}

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
