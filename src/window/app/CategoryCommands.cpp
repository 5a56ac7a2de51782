// The category commands of the main window: new main category, new
// sub-category, rename in place and delete, and the menu items and the tool
// button that lead to them. The workflows change and save the catalogue; the
// window brings its trees up to date without rebuilding them.
#include <string>
#include <vector>

#include "window/app/TForm1.h"
#include "catalog/CategoryEdits.h"
#include "window/controls/CategoryTrees.h"
#include "window/dialogs/MessageBox.h"
#include "platform/TextCodec.h"
#include "window/controls/WxText.h"
#include "workflows/CategoryWorkflows.h"
#include "workflows/DeleteEntry.h"
#include "catalog/ElementNames.h"

namespace movra {
namespace {

// The element names from CDLIST down to node: T_ + text for every ancestor,
// own_prefix + text for the node itself.
std::vector<std::string> ElementNamesOf(const wxTreeCtrl& tree, const wxTreeItemId& node, std::string_view own_prefix) {
  std::vector<std::string> names{std::string(own_prefix) + NodeText(tree, node)};
  for (wxTreeItemId p = ParentNode(tree, node); p.IsOk(); p = ParentNode(tree, p)) {
    names.insert(names.begin(), CategoryElementName(NodeText(tree, p)));
  }
  return names;
}

// Appends a copy of from (text, image, children) below to_parent.
void CopySubtree(wxTreeCtrl& tree, const wxTreeItemId& from, const wxTreeItemId& to_parent) {
  const wxTreeItemId copy = AddNode(tree, to_parent, NodeText(tree, from), tree.GetItemImage(from));
  tree.SetItemHasChildren(copy, tree.ItemHasChildren(from));
  wxTreeItemIdValue cookie;
  for (wxTreeItemId child = tree.GetFirstChild(from, cookie); child.IsOk(); child = tree.GetNextChild(from, cookie)) {
    CopySubtree(tree, child, copy);
  }
}

// The first top-level node of the tree whose text is text, or an invalid id.
wxTreeItemId TopNodeByText(const wxTreeCtrl& tree, std::string_view text) {
  return FindSiblingByText(tree, FirstTopNode(tree), text);
}

}  // namespace

void TForm1::G1Click() {
  Workspace work = Work();
  const NewCategoryResult made = NewMainCategory(work);
  if (!made.result.ok()) {
    ReportWorkflow(made.result);
    return;
  }
  UpdateFirstStartHint();
  const wxTreeItemId node = movra::AddNode(*TreeView1, wxTreeItemId(), made.name, kCategoryImage);
  // The user types the new category's name at once.
  TreeView1->EnsureVisible(node);
  TreeView1->EditLabel(node);
}

void TForm1::N9Click() {
  const wxTreeItemId node = SelectedNode(*TreeView1);
  if (!node.IsOk() || TreeView1->GetItemImage(node) != kCategoryImage) return;
  if (ParentNode(*TreeView1, node).IsOk()) {
    ShowInfoBox(this, Utf8ToGbk("请在主类别下添加子类别！"));
    return;
  }
  if (!CanEdit()) return;
  Workspace work = Work();
  const NewCategoryResult made = NewSubCategory(work, NodePath(*TreeView1, node));
  // A path that names no element ends the command quietly.
  if (made.result.outcome == Outcome::kNotFound) return;
  if (!made.result.ok()) {
    ReportWorkflow(made.result);
    return;
  }
  TreeView1->EnsureVisible(movra::AddNode(*TreeView1, node, made.name, kCategoryImage));
}

void TForm1::M1Click() {
  const wxTreeItemId node = current_category_node_;
  if (!node.IsOk() || TreeView1->GetItemImage(node) != kCategoryImage) return;
  TreeView1->EnsureVisible(node);
  TreeView1->EditLabel(node);
}

void TForm1::TreeView1Edited(wxTreeEvent& event) {
  if (event.IsEditCancelled()) return;
  // The label is always set here, from the exact GBK bytes, never by the tree.
  event.Veto();
  const wxTreeItemId node = event.GetItem();
  const std::string old_name = NodeText(*TreeView1, node);
  const RenameDecision decision = DecideRename(old_name, WxToGbk(event.GetLabel()));
  if (decision.kind == RenameDecision::Kind::kInvalid) ShowInfoBox(this, InvalidCategoryNameText());
  if (decision.kind != RenameDecision::Kind::kRename) return;
  // Renaming onto a sibling category's name merges the two: the user says so first.
  bool merges = false;
  wxTreeItemIdValue sibling_cookie;
  const wxTreeItemId siblings_parent = TreeView1->GetItemParent(node);
  for (wxTreeItemId sibling = TreeView1->GetFirstChild(siblings_parent, sibling_cookie); sibling.IsOk();
       sibling = TreeView1->GetNextChild(siblings_parent, sibling_cookie)) {
    merges = merges || (sibling != node && TreeView1->GetItemImage(sibling) == kCategoryImage &&
                        NodeText(*TreeView1, sibling) == decision.name);
  }
  if (merges && !ShowInfoBox(this, Utf8ToGbk("已存在同名分类，是否合并？"), BoxButtons::kYesNo)) return;

  // The label never shows a name the catalogue does not hold.
  Workspace work = Work();
  const WorkflowResult renamed = RenameCategoryTo(work, NodePath(*TreeView1, node), decision.name);
  if (!renamed.ok()) {
    ReportWorkflow(renamed);
    return;
  }

  // A sibling of that name has just been merged with this category in the
  // catalogue; the tree shows the two as one node as well.
  const wxTreeItemId parent = TreeView1->GetItemParent(node);
  wxTreeItemIdValue cookie;
  for (wxTreeItemId sibling = TreeView1->GetFirstChild(parent, cookie); sibling.IsOk();
       sibling = TreeView1->GetNextChild(parent, cookie)) {
    if (sibling == node || NodeText(*TreeView1, sibling) != decision.name) continue;
    std::vector<wxTreeItemId> moved;
    wxTreeItemIdValue inner;
    for (wxTreeItemId child = TreeView1->GetFirstChild(sibling, inner); child.IsOk();
         child = TreeView1->GetNextChild(sibling, inner)) {
      moved.push_back(child);
    }
    for (const wxTreeItemId& child : moved) CopySubtree(*TreeView1, child, node);
    // Whoever looked at the sibling now looks at the merged category.
    if (TreeView1->IsSelected(sibling)) TreeView1->SelectItem(node);
    if (current_category_node_ == sibling) current_category_node_ = node;
    ForgetNode(sibling);
    TreeView1->Delete(sibling);
    SortRecursively(*TreeView1, node);
    break;
  }
  SetNodeText(*TreeView1, node, decision.name);
  TreeView1->SortChildren(parent);
}

void TForm1::N19Click() {
  const wxTreeItemId node = current_category_node_;
  if (!node.IsOk()) return;
  const int image = TreeView1->GetItemImage(node);
  if (image != kCategoryImage && image != kDiscImage) return;
  const bool is_category = image == kCategoryImage;
  const std::string prefix(is_category ? kCategoryPrefix : kDiscPrefix);
  if (!CanEdit()) return;
  if (!catalogue_.CdList()) return;

  // The question says what goes with the node.
  Workspace work = Work();
  const std::vector<std::string> names = ElementNamesOf(*TreeView1, node, prefix);
  if (!ShowInfoBox(this, DeleteQuestion(work, names), BoxButtons::kYesNo)) return;
  const DeleteResult deleted = DeleteEntry(work, names);
  if (!deleted.result.ok()) {
    ReportWorkflow(deleted.result);
    return;
  }
  for (const std::string& disc : deleted.discs) {
    const wxTreeItemId disc_node = TopNodeByText(*TreeView2, disc);
    if (!disc_node.IsOk()) continue;
    ForgetNode(disc_node);
    if (current_disc_node_ == disc_node) current_disc_node_ = wxTreeItemId();
    TreeView2->Delete(disc_node);
  }
  ForgetNode(node);
  current_category_node_ = wxTreeItemId();
  TreeView1->Delete(node);
  UpdateFirstStartHint();
}

void TForm1::N42Click() { G1Click(); }
void TForm1::N43Click() { N9Click(); }
void TForm1::N63Click() { M1Click(); }
void TForm1::N47Click() { N19Click(); }
void TForm1::ToolButton12Click() { N19Click(); }

}  // namespace movra
