// How this system tells the window that the home's folders changed.
#pragma once

namespace movra {

// The two ways of noticing changes made by other programs.
enum class ChangeNotice {
  kNotifications,  // the toolkit's folder watcher (Linux: inotify)
  kPolling,        // a look at the folders' listings every second
};

// This system's way. On Windows it is polling: wxWidgets 3.2's watcher there
// frees the buffer of a directory read still pending when a watch is
// removed, and the read completing later writes into freed memory.
ChangeNotice SystemChangeNotice();

}  // namespace movra
