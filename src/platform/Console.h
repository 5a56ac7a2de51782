// The terminal a command-line program runs in: whether its output goes to
// a terminal, and Ctrl+C as a request to stop rather than a sudden end.
#pragma once

#include <string>
#include <vector>

namespace movra {

// The two output streams of a console program.
enum class ConsoleStream { kOutput, kError };

// Makes both output streams carry the program's UTF-8 bytes as they are:
// no line ends translated (a list's own CR LF stays CR LF), and a terminal
// shows them as UTF-8. Call once, before anything is written.
void UseUtf8Output();

// True when the stream is a terminal (not a file or a pipe).
bool IsTerminal(ConsoleStream stream);

// From now on Ctrl+C (an interrupt) only raises the flag that Interrupted()
// reads; the program ends as its work lets it. Calling it again changes nothing.
void CatchInterrupt();

// True once an interrupt arrived after CatchInterrupt().
bool Interrupted();

// The program's arguments (its own name left out) as UTF-8: main's argv
// where arguments are bytes, the system's wide command line where they are UTF-16.
std::vector<std::string> CommandArguments(int argc, char** argv);

}  // namespace movra
