// add SOURCE --name NAME --category PATH [--exclude PATTERN ...]: scans SOURCE and files the disc as Add disc does.
#include <CLI/CLI.hpp>

#include "cli/CliContext.h"
#include "cli/ScanSourceArg.h"
#include "workflows/DiscEntry.h"
#include "workflows/ScanRoot.h"
#include "platform/DataHome.h"
#include "platform/TextCodec.h"
#include "workflows/AddDisc.h"

namespace movra {
namespace {

struct AddOptions {
  std::string source;
  std::string name;
  std::string category;
  std::optional<std::string> memo;
  std::optional<std::string> date;
  std::vector<std::string> exclude;
};

int RunAdd(CliContext& context, const AddOptions& options) {
  if (!context.Open()) return kExitRefused;
  const std::optional<std::string> scan_text = ScanPathArgOf(options.source);
  if (!scan_text) return context.Fail(Utf8ToGbk("扫描路径不存在：") + Utf8ToGbk(options.source));
  const std::optional<std::string> name = CliContext::ToGbk(options.name);
  if (!name) return context.Fail(AddDiscRefusalText(DiscInputProblem::kInvalidName));
  const std::optional<std::string> category = CliContext::ToGbk(options.category);
  const std::optional<std::string> date = options.date ? CliContext::ToGbk(*options.date) : std::nullopt;
  const std::optional<std::string> memo = options.memo ? CliContext::ToGbk(*options.memo) : std::nullopt;
  if (!category || (options.date && !date) || (options.memo && !memo)) {
    return context.Fail(Utf8ToGbk("光盘信息包含 GBK 无法表示的字符！"));
  }
  const std::optional<ScanExclusions> exclude = ExclusionsArgOf(options.exclude);
  if (!exclude) return context.Fail(UnholdableExclusionMessage());

  // Date and memo default to what the Add-disc dialog proposes for the scan path.
  const DriveMap& drives = context.Drives();
  const std::string source = ScanSourceOf(drives, *scan_text);
  const DiscProposal proposal = ProposeForSource(drives, source, VolumeReaderOf(drives), Now());
  DiscInput input{*name, date.value_or(proposal.date_text), WithTrailingBackslash(*category),
                  JoinMemoLines(memo ? SplitLines(*memo) : proposal.memo_lines)};
  Workspace work = context.Work();
  if (const WorkflowResult checked = CheckNewDisc(work, drives, input, *scan_text); !checked.ok()) {
    return context.Fail(checked.message);
  }

  SnapshotIndex index;
  const WorkflowResult added =
      ScanAndFileNewDisc(work, drives, input, source, index, [&context](const ScanProgress& progress) {
        context.Progress("扫描 " + std::to_string(progress.folders) + " 个文件夹，" +
                         std::to_string(progress.files) + " 个文件");
        return !CliContext::Interrupted();
      }, *exclude);
  context.EndProgress();
  if (added.outcome == Outcome::kCancelled) return context.Fail(Utf8ToGbk("扫描已中断，没有添加光盘。"));
  if (context.Report(added) != kExitDone) return kExitRefused;
  context.PrintLine(input.category_path + *name);
  return kExitDone;
}

}  // namespace

void AddAddCommand(CLI::App& app, CliContext& context) {
  auto* command = app.add_subcommand(
      "add", "scan SOURCE and catalogue it as a new disc, exactly as 添加光盘 does; prints the disc's path");
  auto options = std::make_shared<AddOptions>();
  command->add_option("SOURCE", options->source, "a folder, a disc image (.iso, .udf ...), or a drive text such as D:\\ or Z:\\home\\ann\\")
      ->required();
  command->add_option("--name", options->name, "the disc's name: Chinese characters, letters, digits, . _ -")
      ->required();
  command->add_option("--category", options->category, "an existing category: A or A\\B")->required()->type_name("PATH");
  command->add_option("--memo", options->memo, "the memo (lines separated by line feeds); default: 光盘编号 … 光盘卷标")
      ->type_name("TEXT");
  command->add_option("--date", options->date, "the archive date text; default: now, as the window writes it")
      ->type_name("TEXT");
  AddExcludeOption(*command, options->exclude);
  command->callback([&context, options] { context.exit_code = RunAdd(context, *options); });
}

}  // namespace movra
