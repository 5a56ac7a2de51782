#include "cli/CliContext.h"

#include <atomic>
#include <chrono>

#include "browse/DisplayFormat.h"
#include "catalog/NameRules.h"
#include "platform/Console.h"
#include "platform/DateTime.h"
#include "platform/FileSystem.h"
#include "platform/TextCodec.h"
#include "search/DiscList.h"

namespace movra {
namespace {

double Seconds() {
  return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

}  // namespace

CliContext::CliContext() : progress_(IsTerminal(ConsoleStream::kError)) {
  // Ctrl+C only raises a flag: the scan and the search stop at their next
  // step, and nothing is left half-written.
  CatchInterrupt();
}

bool CliContext::Interrupted() { return movra::Interrupted(); }

NameIndex& CliContext::Index() {
  if (!index_) index_ = std::make_unique<NameIndex>(FsPathOf(home_.data_folder) + kPathSeparator);
  return *index_;
}

bool CliContext::Open(bool with_catalogue) {
  std::optional<std::filesystem::path> option;
  if (!home_option.empty()) option = NativeOfFsPath(home_option);
  const DataHomeResult located = LocateDataHome(SourcesFromEnvironment(option));
  if (!located.home) {
    Fail(located.error);
    return false;
  }
  home_ = *located.home;
  const std::string file = FsPathOf(home_.catalogue);
  home_lock_.file = LockFileOf(file);
  home_lock_.wait = std::chrono::milliseconds(static_cast<std::int64_t>(wait_seconds * 1000));
  const bool exists = Fs().FileExists(file) || Fs().DirectoryExists(file);
  unreadable_ = !catalogue_.Open(file) && exists;
  if (unreadable_ && with_catalogue) {
    Fail(CheckEditable(Work()).message);
    return false;
  }
  return true;
}

const DriveMap& CliContext::Drives() {
  if (!drives_) drives_ = DetectDrives();
  return *drives_;
}

int CliContext::Fail(std::string_view gbk_message) {
  EndProgress();
  const std::string text = GbkToUtf8(gbk_message);
  std::fprintf(err, "movra-cli: %s\n", text.c_str());
  return kExitRefused;
}

int CliContext::Report(const WorkflowResult& result) {
  if (!result.warning.empty()) Fail(result.warning);
  return result.ok() ? kExitDone : Fail(result.message);
}

void CliContext::PrintLine(std::string_view gbk) {
  const std::string text = IsAscii(gbk) ? std::string(gbk) : GbkToUtf8(gbk);
  std::fwrite(text.data(), 1, text.size(), out);
  std::fputc('\n', out);
}

std::optional<std::string> CliContext::ToGbk(std::string_view utf8) { return GbkFormOf(utf8); }

std::vector<std::pair<std::string, std::string>> CliContext::DiscPaths() {
  std::vector<std::pair<std::string, std::string>> paths;
  for (const DiscListEntry& disc : BuildDiscList(catalogue_.CdList())) paths.emplace_back(disc.disc_name, disc.Text());
  return paths;
}

std::optional<std::string> CliContext::FindDisc(std::string_view utf8) {
  const std::optional<std::string> text = ToGbk(utf8);
  if (!text) {
    Fail(Utf8ToGbk("光盘名称包含 GBK 无法表示的字符！"));
    return std::nullopt;
  }
  std::string wanted = *text;
  while (!wanted.empty() && wanted.back() == '\\') wanted.pop_back();
  std::vector<std::string> by_name;
  for (const auto& [name, path] : DiscPaths()) {
    if (path == wanted) return name;
    if (name == wanted) by_name.push_back(name);
  }
  if (by_name.size() == 1) return by_name.front();
  if (by_name.empty()) {
    Fail(Utf8ToGbk("找不到光盘：") + wanted);
  } else {
    Fail(Utf8ToGbk("有多张光盘名为 ") + wanted + Utf8ToGbk("，请给出完整路径！"));
  }
  return std::nullopt;
}

void CliContext::WriteTime(double value, char* out) { WriteDate(value, out); }

std::string CliContext::TimeText(double value) {
  std::string text(19, '0');
  WriteTime(value, text.data());
  return text;
}

std::string CliContext::SnapshotFile(std::string_view disc_name) const {
  return FsPathOf(SnapshotFileIn(home_.data_folder, disc_name));
}

void CliContext::Progress(std::string_view utf8, bool force) {
  if (!progress_) return;
  const double now = Seconds();
  if (!force && now - last_progress_ < 0.2) return;
  last_progress_ = now;
  std::fprintf(err, "\r\033[K%.*s", static_cast<int>(utf8.size()), utf8.data());
  std::fflush(err);
  progress_shown_ = true;
}

void CliContext::EndProgress() {
  if (!progress_shown_) return;
  std::fprintf(err, "\r\033[K");
  std::fflush(err);
  progress_shown_ = false;
}

}  // namespace movra
