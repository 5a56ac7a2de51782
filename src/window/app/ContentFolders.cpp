// The content view's side of discs and folders: the disc information page,
// loading a disc's snapshot when another disc is reached, growing the folder
// nodes one level ahead of what is open, and listing a folder.
#include <unordered_map>
#include <unordered_set>

#include "window/app/ContentViewParts.h"
#include "browse/ContentNodes.h"
#include "window/controls/CategoryTrees.h"
#include "platform/FileStamp.h"
#include "platform/FileSystem.h"
#include "window/dialogs/MessageBox.h"
#include "snapshot/SnapshotFile.h"

namespace movra::contentview {
namespace {

// 您选择的光盘索引不存在！: the snapshot file of a selected disc cannot be read.
constexpr std::string_view kNoSnapshot =
    "\xC4\xFA\xD1\xA1\xD4\xF1\xB5\xC4\xB9\xE2\xC5\xCC\xCB\xF7\xD2\xFD\xB2\xBB\xB4\xE6\xD4\xDA\xA3\xA1";

// 您选择的光盘索引无法读取！: the snapshot file of a selected disc exists but does not read.
constexpr std::string_view kUnreadableSnapshot =
    "\xC4\xFA\xD1\xA1\xD4\xF1\xB5\xC4\xB9\xE2\xC5\xCC\xCB\xF7\xD2\xFD\xCE\xDE\xB7\xA8\xB6\xC1\xC8\xA1\xA3\xA1";

// The texts of a node's children, each with its first node of that text.
std::unordered_map<std::string, wxTreeItemId> ChildrenByText(const wxTreeCtrl& tree, const wxTreeItemId& node) {
  std::unordered_map<std::string, wxTreeItemId> children;
  wxTreeItemIdValue cookie;
  for (wxTreeItemId child = tree.GetFirstChild(node, cookie); child.IsOk(); child = tree.GetNextChild(node, cookie))
    children.emplace(NodeText(tree, child), child);
  return children;
}

// Adds under node a folder node for every folder of the list that has none
// yet, and under each of these a folder node for each of its own sub-folders
// that has none yet; then sorts below node. Nodes already there stay.
void GrowFolderNodes(const SnapshotIndex& index, wxTreeCtrl& tree, const wxTreeItemId& node, const std::string& folder,
                     const std::vector<FolderItem>& folders) {
  std::unordered_map<std::string, wxTreeItemId> children = ChildrenByText(tree, node);
  std::vector<FolderItem> grandchildren;
  for (const FolderItem& f : folders) {
    auto found = children.find(f.name);
    if (found == children.end()) found = children.emplace(f.name, AddNode(tree, node, f.name, kFolderImage)).first;
    const wxTreeItemId child = found->second;
    if (!index.ListFolders(folder + f.name + '\\', grandchildren)) continue;
    std::unordered_set<std::string> present;
    wxTreeItemIdValue cookie;
    for (wxTreeItemId g = tree.GetFirstChild(child, cookie); g.IsOk(); g = tree.GetNextChild(child, cookie))
      present.insert(NodeText(tree, g));
    for (const FolderItem& g : grandchildren) {
      if (present.insert(g.name).second) AddNode(tree, child, g.name, kFolderImage);
    }
  }
  SortRecursively(tree, node);
}

// Shows the listing of a folder of the loaded snapshot, then the status texts.
void FillListing(TForm1& form, const std::string& folder) {
  form.ContentState().listed_folder = folder;
  {
    ContentListCtrl::Quiet quiet(*form.ListView1);
    IconProvider& icons = form.Icons();
    const ListingIcons listingIcons{icons.FolderIconIndex(),
                                    [&icons](std::string_view ext) { return icons.IconOfExtension(ext); }};
    BuildFolderListing(form.Index(), folder, listingIcons, form.ListView1->Model());
    form.ListView1->RefreshFromModel();
    form.ListView1->ShowSortArrow(-1, true);  // a fresh listing is in its own order
    if (!form.ListView1->Model().Empty()) form.ListView1->ActiveList()->EnsureVisible(0);
  }
  UpdateStatus(form);
}

// The disc page: labels with the text-file icon, the title, time and memo lines.
void ShowDiscInformation(TForm1& form, Element disc) {
  const std::string title = CatalogueDocument::ElementText(CatalogueDocument::FindChild(disc, "Title"));
  const std::string time = CatalogueDocument::ElementText(CatalogueDocument::FindChild(disc, "Time"));
  const std::string memo = CatalogueDocument::ElementText(CatalogueDocument::FindChild(disc, "Memo"));
  ContentListCtrl::Quiet quiet(*form.ListView1);
  BuildDiscInformation(title, time, memo, form.Icons().TextFileIconIndex(), form.ListView1->Model());
  form.ListView1->RefreshFromModel();
}

// The text of the nearest disc node above node; empty when there is none.
std::string DiscAbove(const wxTreeCtrl& tree, const wxTreeItemId& node) {
  for (wxTreeItemId up = ParentNode(tree, node); up.IsOk(); up = ParentNode(tree, up)) {
    if (KindOf(tree, up) == ShownNodeKind::Disc) return NodeText(tree, up);
  }
  return std::string();
}

// Below a disc, the index is reloaded only when another disc is reached. A
// missing file leaves the index empty; a damaged one, the lines before the damage.
void LoadSnapshotAbove(TForm1& form, const wxTreeCtrl& tree, const wxTreeItemId& node) {
  ContentViewState& state = form.ContentState();
  const std::string disc = DiscAbove(tree, node);
  if (disc == state.loaded_disc_name) return;
  state.loaded_node_path = NodePath(tree, node);
  state.loaded_disc_name = disc;
  if (form.Index().Count() > 0) form.Index().Clear();
  const std::string file = SnapshotFileOf(form.DataFolder(), disc);
  state.loaded_snapshot_stamp = StampOfFile(file);
  ReadSnapshot(form.Index(), file);
}

}  // namespace

void ShowDisc(TForm1& form, CategoryTreeCtrl* tree, const wxTreeItemId& node, bool show_page) {
  const bool hadChildren = tree->ItemHasChildren(node);
  DiscNodePlace place;
  place.inDiscTree = tree == form.TreeView2;
  place.name = NodeText(*tree, node);
  if (!place.inDiscTree) {
    for (wxTreeItemId up = ParentNode(*tree, node); up.IsOk(); up = ParentNode(*tree, up))
      place.categories.insert(place.categories.begin(), NodeText(*tree, up));
  }
  const DiscElementResult disc = FindDiscOfNode(form.Catalogue(), place);
  if (disc.outcome == DiscLookup::NoCategory) return;
  if (disc.outcome == DiscLookup::Found && show_page) ShowDiscInformation(form, disc.element);

  ContentViewState& state = form.ContentState();
  SnapshotIndex& index = form.Index();
  const std::string path = NodePath(*tree, node);
  if (path != state.loaded_node_path) {
    const std::string file = SnapshotFileOf(form.DataFolder(), place.name);
    // Taken before the read: a file replaced during it is read again later rather than missed.
    const std::optional<FileStamp> stamp = StampOfFile(file);
    if (!ReadSnapshot(index, file)) {
      // A file that exists but stops at a bad line has replaced the index
      // with part of this disc: whatever was loaded before is gone.
      const bool exists = Fs().FileExists(file);
      if (exists) {
        state.loaded_disc_name.clear();
        state.loaded_node_path.clear();
      }
      if (show_page) ShowInfoBox(&form, exists ? kUnreadableSnapshot : kNoSnapshot);
      return;
    }
    state.loaded_disc_name = place.name;
    state.loaded_node_path = path;
    state.loaded_snapshot_stamp = stamp;
  }

  const std::string drive = index.DriveOf();
  if (drive.empty()) return;
  const std::string root = index.RootFolder();
  if (root.empty()) {
    if (!show_page) return;
    ContentListCtrl::Quiet quiet(*form.ListView1);
    form.ListView1->Model().Clear();
    form.ListView1->RefreshFromModel();
    return;
  }
  std::vector<FolderItem> folders;
  if (!index.ListFolders(root, folders)) return;
  if (!hadChildren) {
    // The root folder node and two levels of folders, built once per disc node.
    const wxTreeItemId rootNode = AddNode(*tree, node, drive, kRootFolderImage);
    GrowFolderNodes(index, *tree, rootNode, root, folders);
  }
  if (show_page) ClearStatus(form);
}

void ListRootFolder(TForm1& form, CategoryTreeCtrl* tree, const wxTreeItemId& node, bool show_listing) {
  LoadSnapshotAbove(form, *tree, node);
  const SnapshotIndex& index = form.Index();
  const std::string root = index.RootFolder();
  if (root.empty()) return;
  std::vector<FolderItem> folders;
  if (index.ListFolders(root, folders) && !tree->ItemHasChildren(node))
    GrowFolderNodes(index, *tree, node, root, folders);
  if (show_listing) FillListing(form, root);
}

void ListFolder(TForm1& form, CategoryTreeCtrl* tree, const wxTreeItemId& node) {
  const bool selected = SelectedNode(*tree) == node;
  LoadSnapshotAbove(form, *tree, node);
  const SnapshotIndex& index = form.Index();
  const std::string root = index.RootFolder();
  if (root.empty()) return;
  // The folder's key: the scan root, then the folder nodes' texts down to this one.
  std::vector<std::string> names{NodeText(*tree, node)};
  for (wxTreeItemId up = ParentNode(*tree, node); up.IsOk(); up = ParentNode(*tree, up)) {
    const ShownNodeKind kind = KindOf(*tree, up);
    if (kind == ShownNodeKind::RootFolder || kind == ShownNodeKind::Disc) break;
    names.insert(names.begin(), NodeText(*tree, up));
  }
  const std::string folder = FolderKey(root, names);
  std::vector<FolderItem> folders;
  if (index.ListFolders(folder, folders)) GrowFolderNodes(index, *tree, node, folder, folders);
  // An expanded folder that is not selected grows but leaves the list alone.
  if (selected) FillListing(form, folder);
}

}  // namespace movra::contentview
