// search TEXT: the window's search (same matcher, conditions, disc order and
// rows) as a list of the matching entries: one line each by default, or any
// format of the core's lists, on stdout or into a file (--output).
#include <CLI/CLI.hpp>

#include <memory>
#include <optional>
#include <utility>

#include "cli/CliContext.h"
#include "lists/ListWriter.h"
#include "platform/DataHome.h"
#include "platform/TextCodec.h"
#include "workflows/DiscEntry.h"
#include "workflows/ListExport.h"
#include "workflows/Search.h"

namespace movra {
namespace {

struct SearchOptions {
  std::string text;
  std::string location = "全部";
  bool case_sensitive = false;
  bool literal = false;
  std::string format = "tsv";
  bool json = false;               // --json: --format json
  std::optional<std::string> output;  // --output FILE (native), else stdout
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

  // A file that cannot be written is refused before anything is searched.
  std::unique_ptr<ListFile> file;
  if (options.output) {
    auto [opened, result] = ListFile::Open(*options.output);
    if (!opened) return context.Report(result);
    file = std::move(opened);
  }
  StreamSink stream(context.out);
  ByteSink& sink = file ? static_cast<ByteSink&>(*file) : stream;
  const ListFormat format = options.json ? ListFormat::kJson : ParseListFormat(options.format).value_or(ListFormat::kTsv);
  const std::unique_ptr<ListWriter> writer =
      MakeListWriter(format, sink, SearchListOptions(context.Catalogue(), request));

  const std::string data_folder = FsPathOf(context.Home().data_folder) + "/";
  // The name index answers the discs it holds in step; --no-index reads every snapshot.
  NameIndex* index = options.no_index ? nullptr : &context.Index();
  const SearchOutcome outcome =
      WriteSearchList(context.Catalogue(), data_folder, *discs, request, *writer, index, [&](const SearchStep& step) {
        if (!step.missing_message.empty()) {
          context.EndProgress();
          std::fprintf(context.err, "movra-cli: %s\n", GbkToUtf8(step.missing_message).c_str());
        }
        context.Progress("搜索 " + std::to_string(step.index + 1) + "/" + std::to_string(step.count));
        return !CliContext::Interrupted();
      });
  context.EndProgress();
  // A search that did not finish leaves a file as it was; on stdout the rows
  // found until then are all written.
  const bool written = (!file || outcome.end == SearchEnd::kCompleted) && writer->Finish();
  if (outcome.end == SearchEnd::kStoppedAtBadTime) return context.Fail(outcome.message);
  if (outcome.end == SearchEnd::kCancelled) return context.Fail(Utf8ToGbk("搜索已中断。"));
  if (file) {
    const WorkflowResult committed = written ? file->Commit() : WorkflowResult{Outcome::kFailed, {}};
    if (!committed.ok()) return context.Fail(ListNotWrittenMessage(*options.output));
  } else if (!written || std::fflush(context.out) != 0) {
    return context.Fail(Utf8ToGbk("无法写入标准输出！"));
  }
  return outcome.matches > 0 ? kExitDone : kExitNothing;
}

}  // namespace

void AddSearchCommand(CLI::App& app, CliContext& context) {
  auto* command = app.add_subcommand(
      "search",
      "the window's search of file and folder names as a list of the matches (disc TAB folder TAB name TAB kind "
      "TAB size TAB modified per line unless --format); exit 1 when nothing matches");
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
  auto* format = command->add_option("--format", options->format,
                                     "tsv (default): disc TAB folder TAB name TAB kind TAB size TAB modified per line; "
                                     "json: one JSON object per line with those fields; csv: the same columns with a "
                                     "header (UTF-8 with BOM, CRLF); efu: a file list (Filename,Size,Date Modified,"
                                     "Date Created,Attributes) whose names start with the disc's catalogue path; "
                                     "html: one web page with a tree of categories, discs and folders and a filter")
                     ->type_name("FORMAT")
                     ->check(CLI::IsMember({"tsv", "json", "csv", "efu", "html"}));
  command->add_flag("--json", options->json, "the same as --format json")->excludes(format);
  command->add_option("--output", options->output,
                      "write the list to FILE, which is replaced only by a complete list (default: stdout)")
      ->type_name("FILE");
  command->callback([&context, options] { context.exit_code = RunSearch(context, *options); });
}

}  // namespace movra
