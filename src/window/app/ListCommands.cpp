// 导出列表: the results, or everything below a category or disc node, as a
// list file whose type the file chooser's types choose (CSV, web page, file
// list, tab-separated text); the status bar says how many rows went where.
#include "window/app/SearchFeedback.h"
#include "window/app/TForm1.h"
#include "window/app/IndexKeeper.h"
#include "window/controls/CategoryTrees.h"
#include "window/controls/WxText.h"
#include "window/dialogs/MessageBox.h"
#include "window/dialogs/OpenFilePicker.h"
#include "browse/DisplayFormat.h"
#include "platform/TextCodec.h"
#include "workflows/ListExport.h"

namespace movra {
namespace {

// The chooser's types, in the order of kListTypes.
constexpr ListFormat kTypeFormats[] = {ListFormat::kCsv, ListFormat::kHtml, ListFormat::kEfu, ListFormat::kTsv};
constexpr const char* kTypeExtensions[] = {".csv", ".html", ".efu", ".txt"};

// The file the user names for a list and its format: the extension decides
// when it names one, else the type chosen, whose extension is then added.
std::optional<std::pair<std::string, ListFormat>> ChooseListFile(TForm1& form, const std::string& name) {
  const std::string types = Utf8ToGbk(
      "CSV 表格 (*.csv)|*.csv|网页 (*.html)|*.html|文件列表 (*.efu)|*.efu|制表符分隔的文本 (*.txt)|*.txt");
  const auto chosen = OpenFiles().ChooseSaveFile(&form, types, name);
  if (!chosen) return std::nullopt;
  auto [path, type] = *chosen;
  if (const std::optional<ListFormat> format = ListFormatOfPath(path)) return std::pair{path, *format};
  const std::size_t index = type >= 0 && type < static_cast<int>(std::size(kTypeFormats)) ? static_cast<std::size_t>(type) : 0;
  return std::pair{path + kTypeExtensions[index], kTypeFormats[index]};
}

// Tells how the export ended: the rows and the file on the status bar, or the message.
void ReportList(TForm1& form, const ListExportOutcome& outcome, const std::string& path) {
  if (outcome.result.outcome == Outcome::kCancelled) return;
  if (!outcome.result.ok()) {
    form.ReportWorkflow(outcome.result);
    return;
  }
  form.SetStatusPanel(0, GbkToWx(Utf8ToGbk("已导出 ") + GroupedDigits(outcome.rows) + Utf8ToGbk(" 行到 ") +
                                 NativeNameToGbk(path)));
}

}  // namespace

void TForm1::L4Click() {
  const SearchResults& rows = ListView2->Rows();
  if (rows.empty()) return;
  std::vector<std::size_t> checked;
  for (std::size_t i = 0; i < rows.size(); ++i)
    if (ListView2->IsItemChecked(static_cast<long>(i))) checked.push_back(i);
  const auto file = ChooseListFile(*this, Utf8ToGbk("查找结果"));
  if (!file) return;
  SearchRequest request;
  request.text = last_search.text;
  const ListExportOutcome outcome =
      ExportResultRows(rows, checked, SearchListOptions(Catalogue(), request), file->second, file->first);
  ReportList(*this, outcome, file->first);
}

void TForm1::L3Click() {
  const wxTreeItemId node = current_category_node_;
  if (!node.IsOk()) return;
  const bool is_disc = TreeView1->GetItemImage(node) == kDiscImage;
  if (!is_disc && TreeView1->GetItemImage(node) != kCategoryImage) return;
  SearchRequest request;
  request.text = "*";
  request.location = NodePath(*TreeView1, node);
  request.location_kind = is_disc ? LocationKind::kDisc : LocationKind::kCategory;
  const std::optional<std::vector<DiscListEntry>> discs = LocateSearch(Catalogue(), request);
  if (!discs) return;
  const auto file = ChooseListFile(*this, NodeText(*TreeView1, node));
  if (!file) return;
  ListExportOutcome outcome;
  {
    SearchFeedback feedback(this, *discs);
    outcome = ExportSearchList(Catalogue(), DataFolder(), request, file->second, file->first,
                               NameIndexKeeper().ForSearch(), [&](const SearchStep& step) {
                                 return feedback.Report(SearchProgress{step.index, step.count, step.disc, nullptr});
                               });
  }
  ReportList(*this, outcome, file->first);
}

}  // namespace movra
