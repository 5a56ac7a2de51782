// import FILE --category PATH: catalogues a snapshot file as a new disc named
// after the file, as 导入快照文件 does.
#include <CLI/CLI.hpp>

#include "cli/CliContext.h"
#include "workflows/DiscEntry.h"
#include "workflows/SnapshotTransfer.h"
#include "platform/DataHome.h"
#include "platform/DateTime.h"
#include "platform/TextCodec.h"
#include "workflows/AddDisc.h"
#include "workflows/ImportSnapshot.h"

namespace movra {
namespace {

struct ImportOptions {
  std::string file;
  std::string category;
  std::optional<std::string> memo;
  std::optional<std::string> date;
};

int RunImport(CliContext& context, const ImportOptions& options) {
  if (!context.Open()) return kExitRefused;
  const std::string file = FsPathOf(NativeOfFsPath(options.file));
  if (const WorkflowResult readable = CheckImportFile(file); !readable.ok()) return context.Fail(readable.message);
  const std::optional<std::string> category = CliContext::ToGbk(options.category);
  const std::optional<std::string> date = options.date ? CliContext::ToGbk(*options.date) : std::nullopt;
  const std::optional<std::string> memo = options.memo ? CliContext::ToGbk(*options.memo) : std::nullopt;
  if (!category || (options.date && !date) || (options.memo && !memo)) {
    return context.Fail(Utf8ToGbk("快照信息包含 GBK 无法表示的字符！"));
  }
  // The name, date and memo default to what the Import dialog proposes.
  const std::optional<std::string> gbk_stem = CliContext::ToGbk(FileStemOf(file));
  if (!gbk_stem) return context.Fail(Utf8ToGbk("快照信息包含 GBK 无法表示的字符！"));
  const std::string& stem = *gbk_stem;
  const DiscProposal proposal = ProposeImport(stem, Now());
  DiscInput input{stem, date.value_or(proposal.date_text), WithTrailingBackslash(*category),
                  JoinMemoLines(memo ? SplitLines(*memo) : proposal.memo_lines)};
  Workspace work = context.Work();
  if (const WorkflowResult checked = CheckImport(work, input); !checked.ok()) return context.Fail(checked.message);
  if (context.Report(ImportSnapshotFile(work, file, input)) != kExitDone) return kExitRefused;
  context.PrintLine(input.category_path + stem);
  return kExitDone;
}

}  // namespace

void AddImportCommand(CLI::App& app, CliContext& context) {
  auto* command = app.add_subcommand(
      "import", "catalogue a snapshot file as a new disc named after the file, as 导入快照文件 does; prints its path");
  auto options = std::make_shared<ImportOptions>();
  command->add_option("FILE", options->file, "a .cdg snapshot file; its name (without extension) names the disc")
      ->required();
  command->add_option("--category", options->category, "an existing category: A or A\\B")->required()->type_name("PATH");
  command->add_option("--memo", options->memo, "the memo (lines separated by line feeds)")->type_name("TEXT");
  command->add_option("--date", options->date, "the archive date text; default: now")->type_name("TEXT");
  command->callback([&context, options] { context.exit_code = RunImport(context, *options); });
}

}  // namespace movra
