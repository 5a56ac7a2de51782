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
