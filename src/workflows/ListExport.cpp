#include "workflows/ListExport.h"

#include <map>
#include <utility>

#include "catalog/ElementNames.h"
#include "platform/TextCodec.h"
#include "search/DiscList.h"

namespace movra {

ListOptions SearchListOptions(const CatalogueDocument& catalogue, const SearchRequest& request) {
  ListOptions options;
  options.title = Utf8ToGbk("查找结果");
  if (!request.text.empty()) options.title += Utf8ToGbk("：") + request.text;
  // Only discs with a memo are kept; the rows ask by the disc's path.
  auto memos = std::make_shared<std::map<std::string, std::string, std::less<>>>();
  for (const DiscListEntry& disc : BuildDiscList(catalogue.CdList())) {
    const Element element = catalogue.FindDiscElement(DiscElementName(disc.disc_name));
    std::string memo = CatalogueDocument::ElementText(CatalogueDocument::FindChild(element, "Memo"));
    if (!memo.empty()) memos->emplace(disc.Text(), std::move(memo));
  }
  options.memo_of = [memos](std::string_view disc) {
    const auto found = memos->find(disc);
    return found == memos->end() ? std::string() : found->second;
  };
  return options;
}

std::string ListNotWrittenMessage(std::string_view native_path) {
  return Utf8ToGbk("无法写入文件（") + NativeNameToGbk(native_path) + Utf8ToGbk("），请检查路径和权限！");
}

std::optional<ListFormat> ListFormatOfPath(std::string_view path) {
  const std::size_t dot = path.rfind('.');
  if (dot == std::string_view::npos || path.find('/', dot) != std::string_view::npos) return std::nullopt;
  std::string extension(path.substr(dot + 1));
  for (char& c : extension) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
  if (extension == "htm") extension = "html";
  if (extension == "txt") extension = "tsv";
  return ParseListFormat(extension);
}

SearchOutcome WriteSearchList(CatalogueDocument& catalogue, const std::string& data_folder,
                              const std::vector<DiscListEntry>& discs, const SearchRequest& request, ListWriter& writer,
                              NameIndex* index, const SearchStepCallback& after_disc) {
  // Every disc is named by its whole catalogue path, whatever the location.
  std::map<std::string, std::string> paths;
  for (const DiscListEntry& disc : BuildDiscList(catalogue.CdList())) paths.emplace(disc.disc_name, disc.Text());
  SearchResults results;
  return RunSearch(
      data_folder, discs, request, results,
      [&](const SearchStep& step) {
        const auto path = paths.find(step.disc->disc_name);
        const std::string disc = path != paths.end() ? path->second : step.disc->Text();
        VisitEntries(results, step.first_row, disc, [&writer](const FoundEntry& entry) { writer.Write(entry); });
        // The rows are kept in blocks while they are few, so that no disc pays for fresh memory.
        if (results.size() > (1u << 16)) results.Clear();
        return !after_disc || after_disc(step);
      },
      index);
}

ListExportOutcome ExportSearchList(CatalogueDocument& catalogue, const std::string& data_folder,
                                   const SearchRequest& request, ListFormat format, const std::string& native_path,
                                   NameIndex* index, const SearchStepCallback& after_disc) {
  const std::optional<std::vector<DiscListEntry>> discs = LocateSearch(catalogue, request);
  if (!discs) return {{Outcome::kNotFound, Utf8ToGbk("找不到搜索位置：") + request.location}, 0};
  auto [file, opened] = ListFile::Open(native_path);
  if (!file) return {opened, 0};
  const std::unique_ptr<ListWriter> writer = MakeListWriter(format, *file, SearchListOptions(catalogue, request));
  const SearchOutcome searched = WriteSearchList(catalogue, data_folder, *discs, request, *writer, index, after_disc);
  if (searched.end == SearchEnd::kCancelled) return {{Outcome::kCancelled, {}}, 0};
  if (searched.end == SearchEnd::kStoppedAtBadTime) return {{Outcome::kFailed, searched.message}, 0};
  if (!writer->Finish()) return {{Outcome::kFailed, ListNotWrittenMessage(native_path)}, 0};
  return {file->Commit(), searched.matches};
}

std::size_t WriteResultRows(const SearchResults& results, const std::vector<std::size_t>& chosen, ListWriter& writer) {
  std::size_t rows = 0;
  std::string disc;  // the text of the disc header above, without its brackets
  std::size_t next = 0;
  for (std::size_t i = 0; i < results.size(); ++i) {
    const SearchRow& row = results[i];
    if (row.kind == RowKind::kDisc) {
      const std::string_view header = SearchResults::Name(row);
      disc = std::string(header.size() >= 4 ? header.substr(2, header.size() - 4) : header);
      continue;
    }
    if (row.kind == RowKind::kGroup) continue;
    if (!chosen.empty()) {
      while (next < chosen.size() && chosen[next] < i) ++next;
      if (next == chosen.size() || chosen[next] != i) continue;
    }
    const bool is_file = row.kind == RowKind::kFile;
    writer.Write(FoundEntry{disc, SearchResults::Folder(row), SearchResults::Name(row), is_file,
                            is_file ? row.size : 0, row.modified});
    ++rows;
  }
  return rows;
}

ListExportOutcome ExportResultRows(const SearchResults& results, const std::vector<std::size_t>& chosen,
                                   const ListOptions& options, ListFormat format, const std::string& native_path) {
  auto [file, opened] = ListFile::Open(native_path);
  if (!file) return {opened, 0};
  const std::unique_ptr<ListWriter> writer = MakeListWriter(format, *file, options);
  ListExportOutcome outcome;
  outcome.rows = WriteResultRows(results, chosen, *writer);
  if (!writer->Finish()) return {{Outcome::kFailed, ListNotWrittenMessage(native_path)}, 0};
  outcome.result = file->Commit();
  return outcome;
}

std::pair<std::unique_ptr<ListFile>, WorkflowResult> ListFile::Open(const std::string& native_path) {
  std::unique_ptr<AtomicFile> file = Fs().CreateFileAtomic(native_path, /*sync=*/false);
  if (!file) return {nullptr, WorkflowResult{Outcome::kFailed, ListNotWrittenMessage(native_path)}};
  return {std::unique_ptr<ListFile>(new ListFile(native_path, std::move(file))), WorkflowResult{}};
}

bool ListFile::Write(std::string_view bytes) { return file_->Write(bytes); }

WorkflowResult ListFile::Commit() {
  if (!file_->Commit()) return {Outcome::kFailed, ListNotWrittenMessage(path_)};
  return {};
}

}  // namespace movra
