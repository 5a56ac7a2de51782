// index status|rebuild: the name index beside the snapshots, which searches use.
#include <CLI/CLI.hpp>

#include "cli/CliContext.h"
#include "nameindex/NameIndex.h"
#include "platform/TextCodec.h"

namespace movra {
namespace {

int RunStatus(CliContext& context) {
  if (!context.Open(false)) return kExitRefused;
  const IndexStatus status = context.Index().Status();
  context.PrintLine(std::string("complete\t") + (status.complete ? "yes" : "no"));
  context.PrintLine("snapshots\t" + std::to_string(status.snapshots));
  context.PrintLine("current\t" + std::to_string(status.current));
  context.PrintLine("stale\t" + std::to_string(status.stale));
  context.PrintLine("missing\t" + std::to_string(status.missing));
  context.PrintLine("orphans\t" + std::to_string(status.orphans));
  context.PrintLine("index_bytes\t" + std::to_string(status.index_bytes));
  context.PrintLine("snapshot_bytes\t" + std::to_string(status.snapshot_bytes));
  return kExitDone;
}

int RunRebuild(CliContext& context) {
  if (!context.Open(false)) return kExitRefused;
  // Asked for by the user: waits for another program's index writer as an edit waits.
  context.Index().SetWriterWait(context.Lock().wait);
  const bool finished = context.Index().Rebuild([&context](size_t done, size_t total) {
    context.Progress("索引 " + std::to_string(done) + "/" + std::to_string(total), done == total);
    return !CliContext::Interrupted();
  });
  context.EndProgress();
  if (!finished && CliContext::Interrupted())
    return context.Fail(Utf8ToGbk("建立索引已中断；搜索在索引完成前读取快照文件。"));
  if (!finished && context.Index().WriterBusy())
    return context.Fail(Utf8ToGbk("搜索索引正被另一个程序更新，请稍后再试！"));
  if (!finished) return context.Fail(Utf8ToGbk("写入搜索索引时产生错误，搜索将读取快照文件！"));
  const IndexStatus status = context.Index().Status();
  context.PrintLine("indexed\t" + std::to_string(status.snapshots - status.missing) + "/" +
                    std::to_string(status.snapshots));
  return kExitDone;
}

}  // namespace

void AddIndexCommand(CLI::App& app, CliContext& context) {
  auto* command = app.add_subcommand(
      "index", "the name index in CDROM/.index that makes searches fast (derived from the snapshots; safe to delete)");
  command->require_subcommand(1);
  command->add_subcommand("status", "complete, and counts of current, stale and missing parts, one per line")
      ->callback([&context] { context.exit_code = RunStatus(context); });
  command->add_subcommand("rebuild", "builds the whole index again from the snapshot files")
      ->callback([&context] { context.exit_code = RunRebuild(context); });
}

}  // namespace movra
