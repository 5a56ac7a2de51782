// The entry of the window program: what the process needs from its system
// before the toolkit starts, then the toolkit's event loop.
#pragma once

namespace movra {

// Prepares the process (language of the toolkit's texts, arguments) and runs
// the application object's event loop; returns the exit status.
int RunWindowProgram(int argc, char** argv);

}  // namespace movra
