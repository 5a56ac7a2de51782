// dupes: the files that are on two or more discs, group by group, the
// groups whose extra copies take the most bytes first.
#include <CLI/CLI.hpp>
#include <nlohmann/json.hpp>

#include <map>

#include "cli/CliContext.h"
#include "platform/DataHome.h"
#include "platform/TextCodec.h"
#include "workflows/FindDuplicates.h"
#include "workflows/ListExport.h"
#include "workflows/Search.h"

namespace movra {
namespace {

struct DupesOptions {
  std::string location = "全部";
  std::string min_size = "1";  // files of 0 bytes take no room twice
  std::string format = "tsv";
  bool no_index = false;
};

int RunDupes(CliContext& context, const DupesOptions& options) {
  const std::optional<std::int64_t> min_size = ParseSizeText(options.min_size);
  if (!min_size) return context.Fail(BadSizeMessage(Utf8ToGbk(options.min_size)));
  if (!context.Open()) return kExitRefused;
  const std::optional<std::string> location = CliContext::ToGbk(options.location);
  if (!location) return context.Fail(Utf8ToGbk("找不到搜索位置：") + Utf8ToGbk(options.location));
  SearchRequest request;
  request.location = *location;
  const std::optional<std::vector<DiscListEntry>> discs = LocateSearch(context.Catalogue(), request);
  if (!discs) return context.Fail(Utf8ToGbk("找不到搜索位置：") + *location);

  const std::string data_folder = FsPathOf(context.Home().data_folder) + "/";
  NameIndex* index = options.no_index ? nullptr : &context.Index();
  const DuplicatesOutcome found =
      FindDuplicates(data_folder, *discs, *min_size, index, [&context](std::size_t done, std::size_t count) {
        context.Progress("查找重复文件 " + std::to_string(done) + "/" + std::to_string(count));
        return !CliContext::Interrupted();
      });
  context.EndProgress();
  for (const std::string& message : found.missing) std::fprintf(context.err, "movra-cli: %s\n", GbkToUtf8(message).c_str());
  if (found.end == SearchEnd::kStoppedAtBadTime) return context.Fail(found.message);
  if (found.end == SearchEnd::kCancelled) return context.Fail(Utf8ToGbk("搜索已中断。"));

  // Every disc is shown by its whole catalogue path, whatever the location.
  std::map<std::string, std::string> paths;
  for (const auto& [name, path] : context.DiscPaths()) paths.emplace(name, path);
  std::vector<std::string> disc_texts;
  for (const DiscListEntry& disc : *discs) {
    const auto path = paths.find(disc.disc_name);
    disc_texts.push_back(GbkToUtf8(path != paths.end() ? path->second : disc.Text()));
  }
  if (options.format == "csv" || options.format == "html") {
    // The copies as the rows of a list, group after group, each disc by its catalogue path.
    std::vector<std::string> labels;
    for (const DiscListEntry& disc : *discs) {
      const auto path = paths.find(disc.disc_name);
      labels.push_back(path != paths.end() ? path->second : disc.Text());
    }
    SearchResults rows;
    AddDuplicateRows(found.groups, labels, rows);
    SearchRequest titled;
    titled.text = Utf8ToGbk("重复文件");
    StreamSink sink(context.out);
    const std::unique_ptr<ListWriter> writer =
        MakeListWriter(*ParseListFormat(options.format), sink, SearchListOptions(context.Catalogue(), titled));
    WriteResultRows(rows, {}, *writer);
    if (!writer->Finish() || std::fflush(context.out) != 0) return context.Fail(Utf8ToGbk("无法写入标准输出！"));
    return found.groups.empty() ? kExitNothing : kExitDone;
  }
  std::size_t number = 0;
  for (const DuplicateGroup& group : found.groups) {
    ++number;
    if (options.format == "json") {
      nlohmann::json copies = nlohmann::json::array();
      for (const DuplicateCopy& copy : group.copies) {
        copies.push_back({{"disc", disc_texts[copy.disc]}, {"folder", GbkToUtf8(copy.folder)},
                          {"name", GbkToUtf8(copy.name)}, {"modified", CliContext::TimeText(copy.modified)}});
      }
      const nlohmann::json object{{"group", number}, {"size", group.size}, {"extra", group.ExtraBytes()},
                                  {"copies", copies}};
      std::fprintf(context.out, "%s\n", object.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace).c_str());
      continue;
    }
    for (const DuplicateCopy& copy : group.copies) {
      std::fprintf(context.out, "%zu\t%s\t%s\t%s\t%lld\t%s\n", number, disc_texts[copy.disc].c_str(),
                   GbkToUtf8(copy.folder).c_str(), GbkToUtf8(copy.name).c_str(), static_cast<long long>(group.size),
                   CliContext::TimeText(copy.modified).c_str());
    }
  }
  return found.groups.empty() ? kExitNothing : kExitDone;
}

}  // namespace

void AddDupesCommand(CLI::App& app, CliContext& context) {
  auto* command = app.add_subcommand(
      "dupes",
      "files on two or more discs (same name, letters in either case, and same size): group TAB disc TAB folder "
      "TAB name TAB size TAB modified per copy, the groups whose extra copies take most first; exit 1 when none");
  auto options = std::make_shared<DupesOptions>();
  command->add_option("--in", options->location, "全部 (default), a category path or a disc path")
      ->type_name("LOCATION");
  command->add_option("--min-size", options->min_size, "only files of at least SIZE (700M, 1.5G, 100K, bytes; default 1)")
      ->type_name("SIZE");
  command->add_option("--format", options->format,
                      "tsv (default), json (one object per group), or csv or html (the copies as a list, group by group)")
      ->check(CLI::IsMember({"tsv", "json", "csv", "html"}));
  command->add_flag("--no-index", options->no_index, "read every snapshot file instead of using the name index");
  command->callback([&context, options] { context.exit_code = RunDupes(context, *options); });
}

}  // namespace movra
