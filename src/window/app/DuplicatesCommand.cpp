// 查找重复文件: the files that are on two or more of the discs below a
// category, shown in the results panel, a header row per group; going to a
// copy works as for any search result.
#include "window/app/SearchFeedback.h"
#include "window/app/TForm1.h"
#include "window/app/IndexKeeper.h"
#include "window/controls/CategoryTrees.h"
#include "window/controls/WxText.h"
#include "window/dialogs/MessageBox.h"
#include "workflows/DiscEntry.h"
#include "workflows/FindDuplicates.h"
#include "workflows/Search.h"

namespace movra {

void TForm1::D2Click() { FindDuplicatesBelow(wxTreeItemId()); }

void TForm1::FindDuplicatesBelow(const wxTreeItemId& category) {
  SearchRequest request;
  request.location = category.IsOk() ? NodePath(*TreeView1, category) : std::string(kAllCategoriesName) + "\\";
  request.location_kind = LocationKind::kCategory;
  const std::optional<std::vector<DiscListEntry>> discs = LocateSearch(Catalogue(), request);
  if (!discs) return;
  std::vector<std::string> labels;
  for (const DiscListEntry& disc : *discs) labels.push_back(disc.Text());

  // Each disc is read once, the ones holding a candidate twice: the progress runs over both readings.
  std::vector<DiscListEntry> readings = *discs;
  readings.insert(readings.end(), discs->begin(), discs->end());
  DuplicatesOutcome found;
  {
    SearchFeedback feedback(this, readings);
    found = FindDuplicates(DataFolder(), *discs, 1, NameIndexKeeper().ForSearch(), [&](std::size_t done, std::size_t) {
      return feedback.Report(SearchProgress{done - 1, readings.size(), &readings[done - 1], nullptr});
    });
  }
  for (const std::string& message : found.missing) ShowInfoBox(this, message);
  if (found.end == SearchEnd::kStoppedAtBadTime) {
    ShowInfoBox(this, found.message);
    return;
  }
  if (found.end == SearchEnd::kCancelled) return;
  ListView2->ClearRows();
  AddDuplicateRows(found.groups, labels, ListView2->Rows());
  ShowResultsPanel(true);
  // The results stay open until 搜索 is pressed again, as after a search.
  ToolBar1->ToggleTool(ToolButton10->GetId(), true);
  ListView2->ShowRows();
  SetStatusPanel(2, GbkToWx(DuplicatesSummaryText(found.groups)));
}

}  // namespace movra
