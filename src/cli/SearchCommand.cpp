// search TEXT: the window's search (same matcher, disc order and rows), one
// line per matching entry, or one JSON object per line with --json.
#include <CLI/CLI.hpp>
#include <nlohmann/json.hpp>

#include <map>

#include "cli/CliContext.h"
#include "workflows/DiscEntry.h"
#include "platform/DataHome.h"
#include "platform/TextCodec.h"
#include "search/DiscList.h"
#include "search/NameMatcher.h"
#include "nameindex/NameIndex.h"
#include "search/SnapshotSearch.h"

namespace movra {
namespace {

struct SearchOptions {
  std::string text;
  std::string location = "全部";
  bool case_sensitive = false;
  bool literal = false;
  bool json = false;
  bool no_index = false;
};

// Writes result rows as lines, converting each text to UTF-8 once per change.
class RowWriter {
 public:
  RowWriter(CliContext& context, bool json) : context_(context), json_(json) {}
  ~RowWriter() { Flush(); }

  // Writes the entry rows of results from row first on (disc headers
  // skipped) for the disc at disc_path (GBK); the number written.
  size_t Write(const SearchResults& results, size_t first, std::string_view disc_path) {
    if (disc_path != disc_gbk_) {
      disc_gbk_ = disc_path;
      disc_ = Utf8(disc_path);
    }
    size_t written = 0;
    for (size_t i = first; i < results.size(); ++i) {
      const SearchRow& row = results[i];
      if (row.kind == RowKind::kDisc) continue;
      ++written;
      const std::string_view folder = SearchResults::Folder(row);
      // Rows of one folder share one stored text.
      if (row.folder != folder_ptr_ || folder.size() != folder_length_) {
        folder_ptr_ = row.folder;
        folder_length_ = folder.size();
        folder_ = Utf8(folder);
      }
      if (row.modified != time_value_ || !time_valid_) {
        time_value_ = row.modified;
        time_valid_ = true;
        CliContext::WriteTime(row.modified, time_);
      }
      const std::string_view time(time_, sizeof time_);
      const bool is_file = row.kind == RowKind::kFile;
      const std::int64_t size = is_file ? row.size : 0;
      if (json_) {
        nlohmann::json object{{"disc", disc_},         {"folder", folder_},
                              {"name", Utf8(SearchResults::Name(row))}, {"kind", is_file ? "file" : "folder"},
                              {"size", size},          {"modified", time}};
        buffer_ += object.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
      } else {
        buffer_ += disc_;
        buffer_ += '\t';
        buffer_ += folder_;
        buffer_ += '\t';
        const std::string_view name = SearchResults::Name(row);
        if (IsAscii(name)) {
          buffer_ += name;
        } else {
          buffer_ += GbkToUtf8(name);
        }
        buffer_ += is_file ? "\tfile\t" : "\tfolder\t";
        buffer_ += std::to_string(size);
        buffer_ += '\t';
        buffer_ += time;
      }
      buffer_ += '\n';
      if (buffer_.size() > (1 << 16)) Flush();
    }
    return written;
  }

  // Drops what the writer remembers of stored texts (before the rows are cleared).
  void ForgetTexts() { folder_ptr_ = nullptr; }

  void Flush() {
    std::fwrite(buffer_.data(), 1, buffer_.size(), context_.out);
    buffer_.clear();
  }

 private:
  static std::string Utf8(std::string_view gbk) { return IsAscii(gbk) ? std::string(gbk) : GbkToUtf8(gbk); }

  CliContext& context_;
  bool json_;
  std::string buffer_;
  std::string disc_gbk_, disc_;
  const char* folder_ptr_ = nullptr;
  size_t folder_length_ = 0;
  std::string folder_;
  double time_value_ = 0;
  bool time_valid_ = false;
  char time_[19] = {};
};

int RunSearch(CliContext& context, const SearchOptions& options) {
  if (!context.Open()) return kExitRefused;
  const std::optional<std::string> text = CliContext::ToGbk(options.text);
  const std::optional<std::string> location = CliContext::ToGbk(options.location);
  if (!text || text->empty()) return context.Fail(Utf8ToGbk("查找内容为空或包含 GBK 无法表示的字符！"));
  if (!location) return context.Fail(Utf8ToGbk("找不到搜索位置：") + Utf8ToGbk(options.location));
  // A location is a category path first, else a disc path or a disc's name, as the find dialog's tree offers them.
  CatalogueDocument& catalogue = context.Catalogue();
  Element located = catalogue.ResolvePath(*location, false);
  if (!located) located = catalogue.ResolvePath(*location, true);
  if (!located) return context.Fail(Utf8ToGbk("找不到搜索位置：") + *location);

  // Every disc is shown by its whole catalogue path, whatever the location.
  std::map<std::string, std::string> paths;
  for (const auto& [name, path] : context.DiscPaths()) paths.emplace(name, path);
  const std::vector<DiscListEntry> discs = BuildDiscList(located);
  NameMatcher matcher(*text, MatchOptions{options.case_sensitive, options.literal});
  SearchResults results;
  RowWriter writer(context, options.json);
  size_t found = 0;
  size_t written = 0;  // rows of results already written
  std::string time_error;
  const std::string data_folder = FsPathOf(context.Home().data_folder) + "/";
  // The name index answers the discs it holds in step; --no-index reads every snapshot.
  NameIndex* index = options.no_index ? nullptr : &context.Index();
  std::vector<std::string> stale;
  const SearchEnd end = SearchDiscs(data_folder, discs, matcher, results, [&](const SearchProgress& progress) {
    const DiscReport& report = *progress.report;
    if (report.outcome == DiscOutcome::kMissing) {
      context.EndProgress();
      std::fprintf(context.err, "movra-cli: %s\n",
                   GbkToUtf8(Utf8ToGbk("光盘(") + report.snapshot_path + Utf8ToGbk(")不存在！")).c_str());
    }
    if (report.outcome == DiscOutcome::kBadTime) time_error = report.error;
    const auto path = paths.find(progress.disc->disc_name);
    found += writer.Write(results, written, path != paths.end() ? path->second : progress.disc->Text());
    written = results.size();
    // The rows are kept in blocks while they are few, so that no disc pays for fresh memory.
    if (written > (1u << 16)) {
      writer.ForgetTexts();
      results.Clear();
      written = 0;
    }
    context.Progress("搜索 " + std::to_string(progress.index + 1) + "/" + std::to_string(progress.count));
    return !CliContext::Interrupted();
  }, index, &stale);
  writer.Flush();
  context.EndProgress();
  // A complete index is brought in step for the discs that had to be read
  // whole (changed outside Movra); an index never built is left to
  // "index rebuild" or the window.
  if (index != nullptr && index->Complete()) index->CatchUp(stale);
  if (end == SearchEnd::kStoppedAtBadTime) return context.Fail(time_error);
  if (end == SearchEnd::kCancelled) return context.Fail(Utf8ToGbk("搜索已中断。"));
  return found > 0 ? kExitDone : kExitNothing;
}

}  // namespace

void AddSearchCommand(CLI::App& app, CliContext& context) {
  auto* command = app.add_subcommand(
      "search",
      "the window's search of file and folder names: disc TAB folder TAB name TAB kind TAB size TAB modified "
      "per match; exit 1 when nothing matches");
  auto options = std::make_shared<SearchOptions>();
  command->add_option("TEXT", options->text, "the text to find; * and ? are wildcards unless --literal")->required();
  command->add_option("--in", options->location, "全部 (default), a category path or a disc path")
      ->type_name("LOCATION");
  command->add_flag("--case", options->case_sensitive, "区分大小写: match letter case");
  command->add_flag("--literal", options->literal, "完全匹配: * and ? are plain characters");
  command->add_flag("--no-index", options->no_index, "read every snapshot file instead of using the name index");
  command->add_flag("--json", options->json, "one JSON object per line: disc, folder, name, kind, size, modified");
  command->callback([&context, options] { context.exit_code = RunSearch(context, *options); });
}

}  // namespace movra
