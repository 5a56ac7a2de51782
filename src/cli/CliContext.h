// What every movra-cli command shares: the home and its catalogue, the data
// folder, the drives, the output streams, the text conversion at the command
// line's boundary (UTF-8 outside, GBK inside), exit codes and Ctrl+C.
#pragma once

#include <cstdio>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "catalog/CatalogueDocument.h"
#include "nameindex/NameIndex.h"
#include "platform/DataHome.h"
#include "platform/DriveMap.h"
#include "workflows/CatalogueEdit.h"
#include "workflows/Workspace.h"

namespace movra {

// Exit codes of movra-cli.
inline constexpr int kExitDone = 0;        // done (search: found something)
inline constexpr int kExitNothing = 1;     // nothing found (search) or inconsistencies found (check)
inline constexpr int kExitRefused = 2;     // refused or failed; nothing was changed

class CliContext {
 public:
  CliContext();

  // --home DIR, as given on the command line (native).
  std::string home_option;
  // --wait SECONDS: how long an edit waits for another program's edit.
  double wait_seconds = 10;
  // The command's exit code, set by its callback.
  int exit_code = kExitDone;
  // Told about every snapshot file the workflows write or remove; may be null.
  SnapshotObserver* observer = nullptr;
  // Where the commands write (stdout and stderr unless a test replaces them).
  std::FILE* out = stdout;
  std::FILE* err = stderr;

  // Finds the home and opens its catalogue; false (after telling why) when
  // the home cannot be used. with_catalogue: also refuse an unreadable catalogue.
  bool Open(bool with_catalogue = true);
  // The home of the run (after Open).
  const DataHome& Home() const { return home_; }
  // The catalogue of the run (after Open).
  CatalogueDocument& Catalogue() { return catalogue_; }
  // True when the catalogue file exists but could not be read.
  bool CatalogueUnreadable() const { return unreadable_; }
  // The workspace the workflows take; they keep the name index in step
  // (or tell the observer a caller set instead).
  // Every edit takes the home's lock.
  Workspace Work() { return Workspace{catalogue_, home_.data_folder, observer ? observer : &Index(), &home_lock_}; }
  // The home's lock of the run (after Open).
  HomeLock& Lock() { return home_lock_; }
  // The name index of the data folder (after Open).
  NameIndex& Index();
  // The drive letters of this machine (detected on first use).
  const DriveMap& Drives();

  // Tells the user (a GBK message on stderr) and returns kExitRefused.
  int Fail(std::string_view gbk_message);
  // Tells the user a workflow's warning, then its message when it failed;
  // kExitDone for a result that is ok, else kExitRefused.
  int Report(const WorkflowResult& result);
  // Writes a GBK text as UTF-8 to stdout, followed by a line feed.
  void PrintLine(std::string_view gbk);
  // The GBK form of a command-line text; nullopt when GBK cannot hold it.
  static std::optional<std::string> ToGbk(std::string_view utf8);

  // The disc a command-line text names: its path as the search headers show
  // it ("电影\动作\DVD_01") or its bare name when unique. The GBK disc name, or
  // nullopt after telling the user.
  std::optional<std::string> FindDisc(std::string_view utf8);
  // The catalogue path of every disc ("A\B\X"), by disc name, in document order.
  std::vector<std::pair<std::string, std::string>> DiscPaths();

  // A date-time value as yyyy-mm-dd hh:mm:ss.
  static std::string TimeText(double value);
  // Writes TimeText of value into out (19 bytes, no terminator).
  static void WriteTime(double value, char* out);
  // The disc's snapshot file as Fs() takes it.
  std::string SnapshotFile(std::string_view disc_name) const;

  // True when progress goes to stderr (stderr is a terminal).
  bool ShowProgress() const { return progress_; }
  // Writes a progress line over the previous one, at most a few times a second.
  void Progress(std::string_view utf8, bool force = false);
  // Clears the progress line.
  void EndProgress();
  // True once Ctrl+C was pressed.
  static bool Interrupted();

 private:
  DataHome home_;
  HomeLock home_lock_;
  CatalogueDocument catalogue_;
  bool unreadable_ = false;
  std::unique_ptr<NameIndex> index_;
  std::optional<DriveMap> drives_;
  bool progress_ = false;
  bool progress_shown_ = false;
  double last_progress_ = 0;
};

}  // namespace movra
