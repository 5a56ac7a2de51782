// import-list FILE --name NAME --category PATH: a file list (.efu, or this
// program's CSV list) catalogued as a new disc, as 导入文件列表 does.
#include <CLI/CLI.hpp>

#include "cli/CliContext.h"
#include "platform/DataHome.h"
#include "platform/DateTime.h"
#include "platform/TextCodec.h"
#include "workflows/AddDisc.h"
#include "workflows/DiscEntry.h"
#include "workflows/ImportList.h"

namespace movra {
namespace {

struct ImportListOptions {
  std::string file;
  std::string name;
  std::string category;
  std::optional<std::string> memo;
  std::optional<std::string> date;
};

int RunImportList(CliContext& context, const ImportListOptions& options) {
  if (!context.Open()) return kExitRefused;
  const std::optional<std::string> name = CliContext::ToGbk(options.name);
  const std::optional<std::string> category = CliContext::ToGbk(options.category);
  const std::optional<std::string> date = options.date ? CliContext::ToGbk(*options.date) : std::nullopt;
  const std::optional<std::string> memo = options.memo ? CliContext::ToGbk(*options.memo) : std::nullopt;
  if (!name || !category || (options.date && !date) || (options.memo && !memo)) {
    return context.Fail(Utf8ToGbk("快照信息包含 GBK 无法表示的字符！"));
  }
  // The date and memo default to what the Import dialog proposes.
  const DiscProposal proposal = ProposeImport(*name, Now());
  const DiscInput input{*name, date.value_or(proposal.date_text), WithTrailingBackslash(*category),
                        JoinMemoLines(memo ? SplitLines(*memo) : proposal.memo_lines)};
  Workspace work = context.Work();
  const std::string file = FsPathOf(NativeOfFsPath(options.file));
  if (context.Report(ImportFileList(work, context.Drives(), file, input)) != kExitDone) return kExitRefused;
  context.PrintLine(input.category_path + *name);
  return kExitDone;
}

}  // namespace

void AddImportListCommand(CLI::App& app, CliContext& context) {
  auto* command = app.add_subcommand(
      "import-list",
      "catalogue a file list (.efu, this program's or another's, or a CSV list of movra-cli search) as a new disc, "
      "as 导入文件列表 does; prints its path");
  auto options = std::make_shared<ImportListOptions>();
  command->add_option("FILE", options->file, "the list file")->required();
  command->add_option("--name", options->name, "the new disc's name")->required()->type_name("NAME");
  command->add_option("--category", options->category, "an existing category: A or A\\B")->required()->type_name("PATH");
  command->add_option("--memo", options->memo, "the memo (lines separated by line feeds)")->type_name("TEXT");
  command->add_option("--date", options->date, "the archive date text; default: now")->type_name("TEXT");
  command->callback([&context, options] { context.exit_code = RunImportList(context, *options); });
}

}  // namespace movra
