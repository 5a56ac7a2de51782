// Keeps the name index of the window's data folder in step, on a worker
// thread that never touches a window: a full pass at start (the first build
// for a catalogue that has no index), then the discs a search had to read whole. Searches use the
// index only once a full build has finished; until then they read the
// snapshot files. Progress reaches the status bar through CallAfter.
#pragma once

#include <condition_variable>
#include <deque>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "nameindex/NameIndex.h"

class wxEvtHandler;

namespace movra {

class TForm1;

class IndexKeeper {
 public:
  // The keeper of form's data folder; starts the first build when the index is not complete.
  explicit IndexKeeper(TForm1& form);
  // Stops the worker between two discs and waits for it.
  ~IndexKeeper();
  IndexKeeper(const IndexKeeper&) = delete;
  IndexKeeper& operator=(const IndexKeeper&) = delete;

  // The index a search should use (UI thread), or nullptr while the first build runs.
  NameIndex* ForSearch() { return ready_ ? &index_ : nullptr; }
  // The UI thread's index, which the window's workflows tell about snapshot changes.
  NameIndex& Index() { return index_; }
  // True once the index can serve searches.
  bool Ready() const { return ready_; }
  // Brings these discs in step, in the background (many at once with a full pass).
  void UpdateLater(const std::vector<std::string>& discs);
  // Stops the worker and waits for it (also done on destruction).
  void Stop();

 private:
  // One piece of work: every disc (a full pass) or the discs a search read whole.
  struct Job {
    bool all = false;
    std::vector<std::string> discs;
  };

  void Run();
  void Post(Job job);

  TForm1& form_;
  RealFileSystem worker_files_;  // the worker never goes through the replaceable Fs()
  NameIndex index_;              // the UI thread's
  NameIndex worker_;             // the worker's
  bool ready_ = false;               // UI thread
  bool first_build_ = false;         // worker (set before it starts)
  std::mutex mutex_;
  std::condition_variable wake_;
  std::deque<Job> jobs_;
  bool stop_ = false;
  std::thread thread_;
};

// Shows the first build's progress in the status bar (percent), or clears it (nothing).
void ShowIndexProgress(TForm1& form, std::optional<int> percent);

}  // namespace movra
