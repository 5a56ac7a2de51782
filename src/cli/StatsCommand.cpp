// stats: discs, categories, entries and total bytes of the catalogue.
#include <CLI/CLI.hpp>

#include "cli/CliContext.h"
#include "platform/FileSystem.h"
#include "snapshot/SnapshotFile.h"
#include "snapshot/SnapshotIndex.h"
#include "catalog/ElementNames.h"

namespace movra {
namespace {

size_t CountCategories(Element element) {
  size_t count = 0;
  for (Element child : CatalogueDocument::ChildElements(element)) {
    if (IsCategoryElement(CatalogueDocument::ElementName(child))) count += 1 + CountCategories(child);
  }
  return count;
}

int RunStats(CliContext& context) {
  if (!context.Open()) return kExitRefused;
  const auto discs = context.DiscPaths();
  std::uint64_t entries = 0;
  std::uint64_t bytes = 0;
  SnapshotIndex index;
  for (const auto& disc : discs) {
    if (CliContext::Interrupted()) return context.Fail("interrupted");
    index.Clear();
    // A snapshot that does not read counts with what it holds.
    ReadSnapshot(index, context.SnapshotFile(disc.first));
    for (const SnapshotEntryView& entry : index) {
      ++entries;
      if (entry.isFile && entry.size > 0) bytes += static_cast<std::uint64_t>(entry.size);
    }
  }
  context.PrintLine("discs\t" + std::to_string(discs.size()));
  context.PrintLine("categories\t" + std::to_string(CountCategories(context.Catalogue().CdList())));
  context.PrintLine("entries\t" + std::to_string(entries));
  context.PrintLine("bytes\t" + std::to_string(bytes));
  return kExitDone;
}

}  // namespace

void AddStatsCommand(CLI::App& app, CliContext& context) {
  auto* command = app.add_subcommand("stats", "discs, categories, entries and total bytes of files, one per line");
  command->callback([&context] { context.exit_code = RunStats(context); });
}

}  // namespace movra
