// The commands that act on one item: properties of a content row or of a
// search result, copying results, going from a result to its place in the
// category tree, and expanding or collapsing the clicked category node.
#include <functional>

#include "window/app/ContentViewParts.h"
#include "browse/ContentNodes.h"
#include "browse/DisplayFormat.h"
#include "window/controls/CategoryTrees.h"
#include "window/dialogs/PropertiesBox.h"
#include "window/controls/WxText.h"
#include "search/ResultPlaces.h"
#include "snapshot/SnapshotFile.h"
#include "catalog/ElementNames.h"

namespace movra {
namespace {

// A disc's facts from its catalogue element and its snapshot (the loaded one
// when it is this disc's, else read for the box).
DiscFacts DiscFactsOf(TForm1& form, const std::string& disc) {
  DiscFacts facts;
  facts.name = disc;
  const Element element = form.Catalogue().FindDiscElement(DiscElementName(disc));
  facts.time = CatalogueDocument::ElementText(CatalogueDocument::FindChild(element, "Time"));
  facts.memo = CatalogueDocument::ElementText(CatalogueDocument::FindChild(element, "Memo"));
  for (Element up = element.parent(); up; up = up.parent()) {
    const std::string name = CatalogueDocument::ElementName(up);
    if (!IsCategoryElement(name)) break;
    facts.category = std::string(NameOfElement(name)) + (facts.category.empty() ? "" : "\\" + facts.category);
  }
  SnapshotIndex read;
  const bool loaded = form.ContentState().loaded_disc_name == disc;
  if (!loaded) ReadSnapshot(read, SnapshotFileOf(form.DataFolder(), disc));
  const SnapshotIndex& index = loaded ? form.Index() : read;
  facts.entries = index.Count();
  for (const SnapshotEntryView entry : index)
    if (entry.isFile) facts.bytes += entry.size;
  return facts;
}

// Calls visit for every node of the tree below node, in pre-order.
void ForEachNode(const wxTreeCtrl& tree, const wxTreeItemId& node, const std::function<void(wxTreeItemId)>& visit) {
  wxTreeItemIdValue cookie;
  for (wxTreeItemId child = tree.GetFirstChild(node, cookie); child.IsOk(); child = tree.GetNextChild(node, cookie)) {
    visit(child);
    ForEachNode(tree, child, visit);
  }
}

// The category tree's node of the disc a result row belongs to: the disc node
// of that name whose categories end with the row's category path, else the
// first disc node of that name.
wxTreeItemId DiscNodeOf(const wxTreeCtrl& tree, const ResultPlace& place) {
  std::string tail;
  for (const std::string& category : place.categories) tail += category + '\\';
  tail += place.disc + '\\';
  wxTreeItemId first, matching;
  ForEachNode(tree, tree.GetRootItem(), [&](wxTreeItemId node) {
    if (matching.IsOk() || tree.GetItemImage(node) != kDiscImage || NodeText(tree, node) != place.disc) return;
    if (!first.IsOk()) first = node;
    const std::string path = NodePath(tree, node);
    if (path.size() >= tail.size() && path.compare(path.size() - tail.size(), tail.size(), tail) == 0) matching = node;
  });
  return matching.IsOk() ? matching : first;
}

// The child of node with exactly this text, or an invalid id.
wxTreeItemId ChildNamed(const wxTreeCtrl& tree, const wxTreeItemId& node, const std::string& text) {
  wxTreeItemIdValue cookie;
  return FindSiblingByText(tree, tree.GetFirstChild(node, cookie), text);
}

// The rows 复制 and 属性 act on: the selected and the checked ones, in list order.
std::vector<std::size_t> ChosenResults(const ResultsListCtrl& list) {
  std::vector<std::size_t> rows;
  for (std::size_t i = 0; i < list.Rows().size(); ++i) {
    const long item = static_cast<long>(i);
    if (list.IsItemChecked(item) || list.GetItemState(item, wxLIST_STATE_SELECTED) != 0) rows.push_back(i);
  }
  return rows;
}

}  // namespace

// ---- Results list -------------------------------------------------------------

void TForm1::ListView2Activated(wxListEvent& event) {
  if (event.GetIndex() >= 0) JumpToResult(static_cast<std::size_t>(event.GetIndex()));
}

void TForm1::JumpToResult(std::size_t row) {
  const ResultPlace place = PlaceOf(ListView2->Rows(), row);
  if (place.is_group) return;  // a group of duplicates is on no one disc
  const wxTreeItemId disc = DiscNodeOf(*TreeView1, place);
  if (!disc.IsOk()) return;
  if (PageControl1->GetSelection() != 0) PageControl1->SetSelection(0);
  wxTreeItemId target = disc;
  if (!place.is_header) {
    // Grow the nodes down to the entry's folder without visiting each of them.
    contentview::ShowDisc(*this, TreeView1, disc, false);
    wxTreeItemIdValue cookie;
    wxTreeItemId node = TreeView1->GetFirstChild(disc, cookie);
    // Without the disc's own snapshot (a missing file) the disc itself is the target.
    const std::string root = ContentState().loaded_disc_name == place.disc ? Index().RootFolder() : std::string();
    if (node.IsOk() && !root.empty() && place.folder.rfind(root, 0) == 0) {
      TreeView1->Expand(disc);
      contentview::ListRootFolder(*this, TreeView1, node, false);
      for (const std::string& folder : SplitPath(std::string_view(place.folder).substr(root.size()))) {
        if (!node.IsOk()) break;
        TreeView1->Expand(node);
        node = ChildNamed(*TreeView1, node, folder);
        if (node.IsOk()) contentview::ListFolder(*this, TreeView1, node);
      }
      if (node.IsOk()) target = node;
    }
  }
  // One visit: the node left is recorded, the target is shown.
  TreeView1->SelectItem(target);
  TreeView1->EnsureVisible(target);
  if (place.is_header || target == disc) {
    TreeView1->SetFocus();
    return;
  }
  ListModel& model = ListView1->Model();
  for (std::size_t i = 0; i < model.Count(); ++i) {
    if (model.Row(i).caption != place.name) continue;
    {
      ContentListCtrl::Quiet quiet(*ListView1);
      model.SelectNone();
      model.SetSelected(i, true);
      ListView1->RefreshFromModel();
    }
    ListView1->ActiveList()->EnsureVisible(static_cast<long>(i));
    contentview::UpdateStatus(*this);
    break;
  }
  ListView1->ActiveList()->SetFocus();
}

void TForm1::N26Click() {
  std::string text;
  for (std::size_t row : ChosenResults(*ListView2)) text += CopyLine(ListView2->Rows(), row) + "\n";
  if (!text.empty()) put_on_clipboard(GbkToWx(text));
}

void TForm1::MenuItem14Click() {
  const long focused = ListView2->GetNextItem(-1, wxLIST_NEXT_ALL, wxLIST_STATE_SELECTED);
  if (focused < 0) return;
  const SearchResults& rows = ListView2->Rows();
  const ResultPlace place = PlaceOf(rows, static_cast<std::size_t>(focused));
  if (place.is_group) return;
  if (place.is_header) {
    ShowProperties(this, DiscProperties(DiscFactsOf(*this, place.disc)));
    return;
  }
  const SearchRow& row = rows[static_cast<std::size_t>(focused)];
  ShowProperties(this, EntryProperties({place.name, place.disc, place.folder, row.kind == RowKind::kFolder, row.size,
                                        FormatDate(row.modified)}));
}

// ---- Content list -------------------------------------------------------------

void TForm1::N27Click() { N57Click(); }

void TForm1::R1Click() {
  const ListModel& model = ListView1->Model();
  const std::optional<std::size_t> first = model.FirstSelected();
  const ShownNodeKind kind = contentview::SelectedKind(*this);
  if (kind == ShownNodeKind::Disc) {
    // Any row of a disc's page stands for the disc.
    const CategoryTreeCtrl* tree = contentview::ActiveTree(*this);
    ShowProperties(this, DiscProperties(DiscFactsOf(*this, NodeText(*tree, SelectedNode(*tree)))));
    return;
  }
  if (!first || (kind != ShownNodeKind::RootFolder && kind != ShownNodeKind::Folder)) return;
  const ListRow& row = model.Row(*first);
  const ContentViewState& state = ContentState();
  ShowProperties(this, EntryProperties({row.caption, state.loaded_disc_name, state.listed_folder,
                                        row.icon == Icons().FolderIconIndex(), row.bytes < 0 ? 0 : row.bytes,
                                        row.subItems[1]}));
}

// ---- Category tree ----------------------------------------------------------------

void TForm1::N14Click() {
  if (current_category_node_.IsOk()) TreeView1->Expand(current_category_node_);
}

void TForm1::N15Click() {
  if (current_category_node_.IsOk()) TreeView1->Collapse(current_category_node_);
}

}  // namespace movra
