#include "window/controls/TreeSync.h"

#include <string>
#include <vector>

#include "window/controls/CategoryTreeCtrl.h"

namespace movra {
namespace {

struct Child {
  wxTreeItemId id;
  std::string text;
  int image = -1;
  int partner = -1;  // index of the matched node on the other side
};

std::vector<Child> ChildrenOf(const wxTreeCtrl& tree, const wxTreeItemId& node) {
  std::vector<Child> children;
  wxTreeItemIdValue cookie;
  for (wxTreeItemId c = tree.GetFirstChild(node, cookie); c.IsOk(); c = tree.GetNextChild(node, cookie))
    children.push_back({c, NodeText(tree, c), tree.GetItemImage(c)});
  return children;
}

std::vector<std::string> ChildTexts(const wxTreeCtrl& tree, const wxTreeItemId& node) {
  std::vector<std::string> texts;
  for (const Child& c : ChildrenOf(tree, node)) texts.push_back(c.text);
  return texts;
}

void Pair(std::vector<Child>& have, std::size_t h, std::vector<Child>& want, std::size_t w) {
  have[h].partner = static_cast<int>(w);
  want[w].partner = static_cast<int>(h);
}

// Appends a copy of model's node (text, image, children) below parent.
void CopyNode(wxTreeCtrl& live, const wxTreeItemId& parent, const wxTreeCtrl& model, const wxTreeItemId& node) {
  const wxTreeItemId copy = AddNode(live, parent, NodeText(model, node), model.GetItemImage(node));
  wxTreeItemIdValue cookie;
  for (wxTreeItemId c = model.GetFirstChild(node, cookie); c.IsOk(); c = model.GetNextChild(node, cookie))
    CopyNode(live, copy, model, c);
}

bool SyncChildren(wxTreeCtrl& live, const wxTreeItemId& live_parent, const wxTreeCtrl& model,
                  const wxTreeItemId& model_parent, const TreeSyncHooks& hooks) {
  std::vector<Child> have = ChildrenOf(live, live_parent);
  std::vector<Child> want = ChildrenOf(model, model_parent);
  for (std::size_t w = 0; w < want.size(); ++w) {
    for (std::size_t h = 0; h < have.size() && want[w].partner < 0; ++h)
      if (have[h].partner < 0 && have[h].text == want[w].text && have[h].image == want[w].image) Pair(have, h, want, w);
  }
  // A category renamed elsewhere keeps its node: it is known by what it holds.
  auto left_over = [](const Child& c) { return c.partner < 0 && c.image == kCategoryImage; };
  for (std::size_t w = 0; w < want.size(); ++w) {
    if (!left_over(want[w])) continue;
    const std::vector<std::string> texts = ChildTexts(model, want[w].id);
    for (std::size_t h = 0; h < have.size() && want[w].partner < 0; ++h)
      if (left_over(have[h]) && ChildTexts(live, have[h].id) == texts) Pair(have, h, want, w);
  }
  std::vector<std::size_t> lone_have, lone_want;
  for (std::size_t h = 0; h < have.size(); ++h)
    if (left_over(have[h])) lone_have.push_back(h);
  for (std::size_t w = 0; w < want.size(); ++w)
    if (left_over(want[w])) lone_want.push_back(w);
  if (lone_have.size() == 1 && lone_want.size() == 1) Pair(have, lone_have[0], want, lone_want[0]);

  bool changed = false;
  for (const Child& h : have) {
    if (h.partner >= 0) continue;
    if (hooks.before_delete) hooks.before_delete(live_parent, h.id);
    live.Delete(h.id);
    changed = true;
  }
  bool reorder = false;
  for (const Child& w : want) {
    if (w.partner < 0) {
      CopyNode(live, live_parent, model, w.id);
      reorder = true;
      continue;
    }
    const Child& h = have[static_cast<std::size_t>(w.partner)];
    if (h.text != w.text) {
      SetNodeText(live, h.id, w.text);
      reorder = true;
    }
    // A disc's children are its folders from the snapshot, which the catalogue does not hold.
    if (w.image != kDiscImage) changed = SyncChildren(live, h.id, model, w.id, hooks) || changed;
  }
  if (reorder) live.SortChildren(live_parent);
  return changed || reorder;
}

}  // namespace

bool SyncTree(wxTreeCtrl& live, const wxTreeCtrl& model, const TreeSyncHooks& hooks) {
  const wxTreeItemId live_root = live.GetRootItem();
  const wxTreeItemId model_root = model.GetRootItem();
  if (!live_root.IsOk() || !model_root.IsOk()) return false;
  return SyncChildren(live, live_root, model, model_root, hooks);
}

}  // namespace movra
