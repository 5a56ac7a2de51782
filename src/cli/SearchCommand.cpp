// search TEXT: the window's search (same matcher, conditions, disc order and
// rows), one line per matching entry, or one JSON object per line with --json.
#include <CLI/CLI.hpp>
#include <nlohmann/json.hpp>

#include <map>
#include <optional>
#include <utility>

#include "cli/CliContext.h"
#include "workflows/DiscEntry.h"
#include "platform/DataHome.h"
#include "platform/TextCodec.h"
#include "workflows/Search.h"

namespace movra {
namespace {

struct SearchOptions {
  std::string text;
  std::string location = "全部";
  bool case_sensitive = false;
  bool literal = false;
  bool json = false;
  bool no_index = false;
  std::optional<std::string> min_size, max_size;  // size texts as typed
  std::optional<std::string> after, before;       // date texts as typed
  bool files = false;
  bool folders = false;
};

// The conditions of the options; nullopt after telling the user which text is no size or date.
std::optional<EntryConditions> ReadConditions(CliContext& context, const SearchOptions& options) {
  EntryConditions conditions;
  for (auto [text, size] : {std::pair{&options.min_size, &conditions.min_size},
                            std::pair{&options.max_size, &conditions.max_size}}) {
    if (!*text) continue;
    *size = ParseSizeText(**text);
    if (!*size) {
      context.Fail(BadSizeMessage(Utf8ToGbk(**text)));
      return std::nullopt;
    }
  }
  for (auto [text, date] : {std::pair{&options.after, &conditions.after},
                            std::pair{&options.before, &conditions.before}}) {
    if (!*text) continue;
    *date = ParseDateText(**text);
    if (!*date) {
      context.Fail(BadDateMessage(Utf8ToGbk(**text)));
      return std::nullopt;
    }
  }
  if (options.files) conditions.kinds = EntryKinds::kFiles;
  if (options.folders) conditions.kinds = EntryKinds::kFolders;
  return conditions;
}

// Writes result rows as lines, converting each text to UTF-8 once per change.
class RowWriter {
 public:
  RowWriter(CliContext& context, bool json) : context_(context), json_(json) {}
  ~RowWriter() { Flush(); }

  // Writes one entry as a line.
  void Write(const FoundEntry& entry) {
    if (entry.disc != disc_gbk_) {
      disc_gbk_ = entry.disc;
      disc_ = Utf8(entry.disc);
    }
    // Rows of one folder share one stored text.
    if (entry.folder.data() != folder_ptr_ || entry.folder.size() != folder_length_) {
      folder_ptr_ = entry.folder.data();
      folder_length_ = entry.folder.size();
      folder_ = Utf8(entry.folder);
    }
    if (entry.modified != time_value_ || !time_valid_) {
      time_value_ = entry.modified;
      time_valid_ = true;
      CliContext::WriteTime(entry.modified, time_);
    }
    const std::string_view time(time_, sizeof time_);
    if (json_) {
      nlohmann::json object{{"disc", disc_},          {"folder", folder_},
                            {"name", Utf8(entry.name)}, {"kind", entry.is_file ? "file" : "folder"},
                            {"size", entry.size},     {"modified", time}};
      buffer_ += object.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
    } else {
      buffer_ += disc_;
      buffer_ += '\t';
      buffer_ += folder_;
      buffer_ += '\t';
      if (IsAscii(entry.name)) {
        buffer_ += entry.name;
      } else {
        buffer_ += GbkToUtf8(entry.name);
      }
      buffer_ += entry.is_file ? "\tfile\t" : "\tfolder\t";
      buffer_ += std::to_string(entry.size);
      buffer_ += '\t';
      buffer_ += time;
    }
    buffer_ += '\n';
    if (buffer_.size() > (1 << 16)) Flush();
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
  const std::optional<EntryConditions> conditions = ReadConditions(context, options);
  if (!conditions) return kExitRefused;
  if (!context.Open()) return kExitRefused;
  const std::optional<std::string> text = CliContext::ToGbk(options.text);
  const std::optional<std::string> location = CliContext::ToGbk(options.location);
  // A location is a category path first, else a disc path or a disc's name, as the find dialog's tree offers them.
  const SearchRequest request{text.value_or(""), location.value_or(""), LocationKind::kCategoryOrDisc,
                              MatchOptions{options.case_sensitive, options.literal}, *conditions};
  if (!text || !AsksForSomething(request))
    return context.Fail(Utf8ToGbk("查找内容为空或包含 GBK 无法表示的字符！"));
  if (!location) return context.Fail(Utf8ToGbk("找不到搜索位置：") + Utf8ToGbk(options.location));
  const std::optional<std::vector<DiscListEntry>> discs = LocateSearch(context.Catalogue(), request);
  if (!discs) return context.Fail(Utf8ToGbk("找不到搜索位置：") + *location);

  // Every disc is shown by its whole catalogue path, whatever the location.
  std::map<std::string, std::string> paths;
  for (const auto& [name, path] : context.DiscPaths()) paths.emplace(name, path);
  SearchResults results;
  RowWriter writer(context, options.json);
  const std::string data_folder = FsPathOf(context.Home().data_folder) + "/";
  // The name index answers the discs it holds in step; --no-index reads every snapshot.
  NameIndex* index = options.no_index ? nullptr : &context.Index();
  const SearchOutcome outcome = RunSearch(data_folder, *discs, request, results, [&](const SearchStep& step) {
    if (!step.missing_message.empty()) {
      context.EndProgress();
      std::fprintf(context.err, "movra-cli: %s\n", GbkToUtf8(step.missing_message).c_str());
    }
    const auto path = paths.find(step.disc->disc_name);
    const std::string disc = path != paths.end() ? path->second : step.disc->Text();
    VisitEntries(results, step.first_row, disc, [&writer](const FoundEntry& entry) { writer.Write(entry); });
    // The rows are kept in blocks while they are few, so that no disc pays for fresh memory.
    if (results.size() > (1u << 16)) {
      writer.ForgetTexts();
      results.Clear();
    }
    context.Progress("搜索 " + std::to_string(step.index + 1) + "/" + std::to_string(step.count));
    return !CliContext::Interrupted();
  }, index);
  writer.Flush();
  context.EndProgress();
  if (outcome.end == SearchEnd::kStoppedAtBadTime) return context.Fail(outcome.message);
  if (outcome.end == SearchEnd::kCancelled) return context.Fail(Utf8ToGbk("搜索已中断。"));
  return outcome.matches > 0 ? kExitDone : kExitNothing;
}

}  // namespace

void AddSearchCommand(CLI::App& app, CliContext& context) {
  auto* command = app.add_subcommand(
      "search",
      "the window's search of file and folder names: disc TAB folder TAB name TAB kind TAB size TAB modified "
      "per match; exit 1 when nothing matches");
  auto options = std::make_shared<SearchOptions>();
  command->add_option("TEXT", options->text,
                      "the text to find; * and ? are wildcards unless --literal; '' with a condition finds any name")
      ->required();
  command->add_option("--in", options->location, "全部 (default), a category path or a disc path")
      ->type_name("LOCATION");
  command->add_flag("--case", options->case_sensitive, "区分大小写: match letter case");
  command->add_flag("--literal", options->literal, "完全匹配: * and ? are plain characters");
  command->add_flag("--no-index", options->no_index, "read every snapshot file instead of using the name index");
  // Each condition option keeps its text as typed; ReadConditions reads it.
  auto text_option = [&](const char* name, std::optional<std::string> SearchOptions::*field, const char* what,
                         const char* type) {
    command
        ->add_option_function<std::string>(
            name, [options, field](const std::string& value) { (*options).*field = value; }, what)
        ->type_name(type);
  };
  text_option("--min-size", &SearchOptions::min_size,
              "only entries of at least SIZE (700M, 1.5G, 100K, or bytes); a folder counts as 0", "SIZE");
  text_option("--max-size", &SearchOptions::max_size, "only entries of at most SIZE", "SIZE");
  text_option("--after", &SearchOptions::after, "only entries modified at DATE or later (2006-3-3, 2006/3/3 9:07)",
              "DATE");
  text_option("--before", &SearchOptions::before, "only entries modified before DATE (a date alone: before that day)",
              "DATE");
  auto* files = command->add_flag("--files", options->files, "only files");
  command->add_flag("--folders", options->folders, "only folders")->excludes(files);
  command->add_flag("--json", options->json, "one JSON object per line: disc, folder, name, kind, size, modified");
  command->callback([&context, options] { context.exit_code = RunSearch(context, *options); });
}

}  // namespace movra
