#include "window/controls/CategoryTreeCtrl.h"

#include "platform/Collation.h"
#include "window/controls/WxText.h"

namespace movra {
namespace {

// A node's GBK text together with the wxString it was shown as, and its sort
// key once a sort needed it. When the label changes by other means (in-place
// editing) the shown text no longer matches and the label itself is used.
class NodeData : public wxTreeItemData {
 public:
  NodeData(std::string gbk, wxString shown) : gbk_(std::move(gbk)), shown_(std::move(shown)) {}
  const std::string& gbk() const { return gbk_; }
  const wxString& shown() const { return shown_; }
  const std::string& sort_key() const {
    if (sort_key_.empty()) sort_key_ = CollationKey(gbk_);
    return sort_key_;
  }

 private:
  std::string gbk_;
  wxString shown_;
  mutable std::string sort_key_;
};

// The node's data when it still describes the label, else null.
const NodeData* CurrentData(const wxTreeCtrl& tree, const wxTreeItemId& item) {
  const auto* data = dynamic_cast<const NodeData*>(tree.GetItemData(item));
  return data != nullptr && data->shown() == tree.GetItemText(item) ? data : nullptr;
}

}  // namespace

CategoryTreeCtrl::CategoryTreeCtrl(wxWindow* parent, wxWindowID id, long style)
    : wxTreeCtrl(parent, id, wxDefaultPosition, wxDefaultSize, style) {
  if (HasFlag(wxTR_HIDE_ROOT)) EnsureRoot();
}

wxTreeItemId CategoryTreeCtrl::EnsureRoot() {
  wxTreeItemId root = GetRootItem();
  if (!root.IsOk()) root = AddRoot(wxString());
  return root;
}

int CategoryTreeCtrl::OnCompareItems(const wxTreeItemId& a, const wxTreeItemId& b) {
  // Sort keys are made once per node; a sort compares each node many times.
  const NodeData* data_a = CurrentData(*this, a);
  const NodeData* data_b = CurrentData(*this, b);
  if (data_a == nullptr || data_b == nullptr) return LocaleCompare(NodeText(*this, a), NodeText(*this, b));
  const int order = data_a->sort_key().compare(data_b->sort_key());
  return order < 0 ? -1 : (order > 0 ? 1 : 0);
}

void SortRecursively(wxTreeCtrl& tree, const wxTreeItemId& item) {
  if (!item.IsOk() || !tree.ItemHasChildren(item)) return;
  tree.SortChildren(item);
  wxTreeItemIdValue cookie;
  for (wxTreeItemId child = tree.GetFirstChild(item, cookie); child.IsOk(); child = tree.GetNextChild(item, cookie)) {
    SortRecursively(tree, child);
  }
}

std::string NodeText(const wxTreeCtrl& tree, const wxTreeItemId& item) {
  if (!item.IsOk()) return std::string();
  if (const NodeData* data = CurrentData(tree, item)) return data->gbk();
  return WxToGbk(tree.GetItemText(item));
}

void SetNodeText(wxTreeCtrl& tree, const wxTreeItemId& item, std::string_view gbk) {
  if (!item.IsOk()) return;
  wxString shown = GbkToWx(gbk);
  tree.SetItemText(item, shown);
  tree.SetItemData(item, new NodeData(std::string(gbk), std::move(shown)));
}

wxTreeItemId AddNode(wxTreeCtrl& tree, const wxTreeItemId& parent, std::string_view gbk, int image) {
  wxString shown = GbkToWx(gbk);
  auto* data = new NodeData(std::string(gbk), shown);
  wxTreeItemId under = parent;
  if (!under.IsOk()) {
    under = tree.GetRootItem();
    if (!under.IsOk()) {
      if (!tree.HasFlag(wxTR_HIDE_ROOT)) return tree.AddRoot(shown, image, image, data);
      under = tree.AddRoot(wxString());
    }
  }
  return tree.AppendItem(under, shown, image, image, data);
}

wxTreeItemId ParentNode(const wxTreeCtrl& tree, const wxTreeItemId& item) {
  if (!item.IsOk()) return wxTreeItemId();
  const wxTreeItemId parent = tree.GetItemParent(item);
  if (!parent.IsOk() || (parent == tree.GetRootItem() && tree.HasFlag(wxTR_HIDE_ROOT))) return wxTreeItemId();
  return parent;
}

wxTreeItemId SelectedNode(const wxTreeCtrl& tree) {
  const wxTreeItemId item = tree.GetSelection();
  if (!item.IsOk() || (item == tree.GetRootItem() && tree.HasFlag(wxTR_HIDE_ROOT))) return wxTreeItemId();
  return item;
}

wxTreeItemId FirstTopNode(const wxTreeCtrl& tree) {
  const wxTreeItemId root = tree.GetRootItem();
  if (!root.IsOk() || !tree.HasFlag(wxTR_HIDE_ROOT)) return root;
  wxTreeItemIdValue cookie;
  return tree.GetFirstChild(root, cookie);
}

int NodeLevel(const wxTreeCtrl& tree, const wxTreeItemId& item) {
  int level = 0;
  for (wxTreeItemId p = ParentNode(tree, item); p.IsOk(); p = ParentNode(tree, p)) ++level;
  return level;
}

}  // namespace movra
