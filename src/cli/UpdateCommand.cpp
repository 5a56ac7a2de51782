// update DISC SOURCE [--dry-run] [--exclude PATTERN ...]: scans SOURCE again for a catalogued disc,
// prints what changed and replaces the disc's snapshot, as 更新光盘 does.
#include <CLI/CLI.hpp>

#include <cstdio>

#include "cli/CliContext.h"
#include "cli/ScanSourceArg.h"
#include "platform/DateTime.h"
#include "platform/TextCodec.h"
#include "workflows/ScanRoot.h"
#include "workflows/UpdateDisc.h"

namespace movra {
namespace {

struct UpdateOptions {
  std::string disc;
  std::string source;
  bool dry_run = false;
  std::vector<std::string> exclude;
};

int RunUpdate(CliContext& context, const UpdateOptions& options) {
  if (!context.Open()) return kExitRefused;
  const std::optional<std::string> disc = context.FindDisc(options.disc);
  if (!disc) return kExitRefused;
  const std::optional<std::string> scan_text = ScanPathArgOf(options.source);
  if (!scan_text) return context.Fail(Utf8ToGbk("扫描路径不存在：") + Utf8ToGbk(options.source));
  const std::string source = ScanSourceOf(context.Drives(), *scan_text);
  const std::optional<ScanExclusions> exclude = ExclusionsArgOf(options.exclude);
  if (!exclude) return context.Fail(UnholdableExclusionMessage());

  Workspace work = context.Work();
  const PreparedUpdate prepared =
      PrepareDiscUpdate(work, context.Drives(), *disc, source, [&context](const ScanProgress& progress) {
        context.Progress("扫描 " + std::to_string(progress.folders) + " 个文件夹，" + std::to_string(progress.files) +
                         " 个文件");
        return !CliContext::Interrupted();
      }, *exclude);
  context.EndProgress();
  if (prepared.result.outcome == Outcome::kCancelled) return context.Fail(Utf8ToGbk("扫描已中断，光盘没有更新。"));
  if (!prepared.result.ok()) return context.Fail(prepared.result.message);

  const SnapshotDiff& diff = prepared.update->diff;
  for (const SnapshotChange& change : diff.changes) context.PrintLine(ChangeLine(change));
  std::fprintf(context.err, "%s\n",
               ("新增 " + std::to_string(diff.added) + " 项，删除 " + std::to_string(diff.removed) + " 项，更改 " +
                std::to_string(diff.changed) + " 项")
                   .c_str());
  if (options.dry_run) return kExitDone;
  return context.Report(ApplyDiscUpdate(work, *prepared.update, DateTimeToText(Now())));
}

}  // namespace

void AddUpdateCommand(CLI::App& app, CliContext& context) {
  auto* command = app.add_subcommand(
      "update", "scan SOURCE again for DISC, print the changes (+ added, - removed, ~ size or time changed) and "
                "replace the disc's snapshot, as 更新光盘 does; title, memo and category stay");
  auto options = std::make_shared<UpdateOptions>();
  command->add_option("DISC", options->disc, "the disc: its path (电影\\动作\\DVD_01) or its name when unique")
      ->required();
  command->add_option("SOURCE", options->source, "a folder, a disc image, or a drive text such as D:\\")->required();
  command->add_flag("--dry-run", options->dry_run, "only print the changes");
  AddExcludeOption(*command, options->exclude);
  command->callback([&context, options] { context.exit_code = RunUpdate(context, *options); });
}

}  // namespace movra
