// Back and forward history of the visited tree nodes, one pair of lists per
// tab of the left pane, and the captions of the two drop-down menus, which
// always show the lists of the active tab. The window does the tree side
// (current nodes, selecting the target); this class keeps the lists.
#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <optional>
#include <string>
#include <vector>

namespace movra {

// A tree node as the history refers to it (e.g. wxTreeItemId::GetID()).
using NodeId = std::uintptr_t;

// A visited node with its text as it was when the visit was recorded.
struct HistoryEntry {
  NodeId node = 0;      // the node
  std::string caption;  // the node's text at recording time (GBK)
};

// What recording a visit did.
enum class VisitResult {
  Skipped,      // the tree's first change after start-up or refresh: not recorded
  NotRecorded,  // a tree has no current node: nothing recorded, buttons unchanged
  Recorded,     // the node left was put at the front of the back list
};

// The history of both tabs (0 categories, 1 discs).
class NavigationHistory {
 public:
  // Most items a menu gets when it is rebuilt.
  static constexpr std::size_t kMenuItems = 8;

  // Tab whose lists the menus show (0 or 1).
  int ActiveTab() const { return activeTab_; }
  // The user switched tabs: the menus show the new tab's lists.
  void TabChanged(int tab);

  // Records a visit when tree (0 or 1) is about to change its selection; the
  // current nodes are those being left. The caller skips this when the new
  // node is none or a node is being expanded, and on Recorded selects the new node.
  VisitResult RecordVisit(int tree, const std::optional<HistoryEntry>& currentCategory,
                          const std::optional<HistoryEntry>& currentDisc);

  // Back button or key: the node to select, or none. current is the active
  // tab's current node; nothing happens while the back button is disabled.
  std::optional<HistoryEntry> GoBack(const std::optional<HistoryEntry>& current);
  // Back menu item at position k.
  std::optional<HistoryEntry> GoBackTo(std::size_t k, const std::optional<HistoryEntry>& current);
  // Forward button or key, the mirror image of GoBack.
  std::optional<HistoryEntry> GoForward(const std::optional<HistoryEntry>& current);
  // Forward menu item at position k.
  std::optional<HistoryEntry> GoForwardTo(std::size_t k, const std::optional<HistoryEntry>& current);

  // Forgets every entry of a node being deleted (call for it and each node below it).
  void RemoveNode(NodeId node);
  // Refresh: empties all lists and menus and restarts both skip counters.
  void ClearAll();

  // Captions of the back menu, top first.
  const std::vector<std::string>& BackMenu() const { return backMenu_; }
  // Captions of the forward menu, top first.
  const std::vector<std::string>& ForwardMenu() const { return forwardMenu_; }
  // True when the back button is enabled.
  bool BackEnabled() const { return !backMenu_.empty(); }
  // True when the forward button is enabled.
  bool ForwardEnabled() const { return !forwardMenu_.empty(); }
  // The back list of a tab, most recent first.
  const std::deque<HistoryEntry>& BackList(int tab) const { return back_[Tab(tab)]; }
  // The forward list of a tab, most recent first.
  const std::deque<HistoryEntry>& ForwardList(int tab) const { return forward_[Tab(tab)]; }

 private:
  using List = std::deque<HistoryEntry>;
  static std::size_t Tab(int tab) { return tab == 0 ? 0 : 1; }
  std::optional<HistoryEntry> Step(List& from, List& to, std::size_t k, const std::optional<HistoryEntry>& current);
  void RebuildMenus();

  List back_[2];
  List forward_[2];
  int skip_[2] = {0, 0};
  int activeTab_ = 0;
  std::vector<std::string> backMenu_;
  std::vector<std::string> forwardMenu_;
};

}  // namespace movra
