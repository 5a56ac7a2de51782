#include "browse/NavigationHistory.h"

#include <algorithm>

namespace movra {

void NavigationHistory::TabChanged(int tab) {
  activeTab_ = tab == 0 ? 0 : 1;
  RebuildMenus();
}

VisitResult NavigationHistory::RecordVisit(int tree, const std::optional<HistoryEntry>& currentCategory,
                                           const std::optional<HistoryEntry>& currentDisc) {
  int& skip = skip_[Tab(tree)];
  if (skip <= 0) {
    // The first selection change of a tree after start-up or refresh is the
    // tree settling on its first node, not a visit.
    ++skip;
    return VisitResult::Skipped;
  }
  if (!currentCategory || !currentDisc) return VisitResult::NotRecorded;
  const std::size_t t = Tab(activeTab_);
  const HistoryEntry& left = t == 0 ? *currentCategory : *currentDisc;
  back_[t].push_front(left);
  forward_[t].clear();
  forwardMenu_.clear();
  // A new visit keeps up to eight older items and puts the new one on top.
  if (backMenu_.size() > kMenuItems) backMenu_.pop_back();
  backMenu_.insert(backMenu_.begin(), left.caption);
  return VisitResult::Recorded;
}

std::optional<HistoryEntry> NavigationHistory::Step(List& from, List& to, std::size_t k,
                                                    const std::optional<HistoryEntry>& current) {
  if (!current || k >= from.size()) return std::nullopt;
  to.push_front(*current);
  // Entries skipped over by a menu choice move across, so going the other
  // way retraces the same path.
  for (std::size_t i = 0; i < k; ++i) {
    to.push_front(from.front());
    from.pop_front();
  }
  HistoryEntry target = from.front();
  from.pop_front();
  RebuildMenus();
  return target;
}

std::optional<HistoryEntry> NavigationHistory::GoBack(const std::optional<HistoryEntry>& current) {
  if (!BackEnabled()) return std::nullopt;
  const std::size_t t = Tab(activeTab_);
  return Step(back_[t], forward_[t], 0, current);
}

std::optional<HistoryEntry> NavigationHistory::GoBackTo(std::size_t k, const std::optional<HistoryEntry>& current) {
  if (k >= backMenu_.size()) return std::nullopt;
  const std::size_t t = Tab(activeTab_);
  return Step(back_[t], forward_[t], k, current);
}

std::optional<HistoryEntry> NavigationHistory::GoForward(const std::optional<HistoryEntry>& current) {
  if (!ForwardEnabled()) return std::nullopt;
  const std::size_t t = Tab(activeTab_);
  return Step(forward_[t], back_[t], 0, current);
}

std::optional<HistoryEntry> NavigationHistory::GoForwardTo(std::size_t k,
                                                           const std::optional<HistoryEntry>& current) {
  if (k >= forwardMenu_.size()) return std::nullopt;
  const std::size_t t = Tab(activeTab_);
  return Step(forward_[t], back_[t], k, current);
}

void NavigationHistory::RemoveNode(NodeId node) {
  bool activeChanged = false;
  for (std::size_t t = 0; t < 2; ++t) {
    for (List* list : {&back_[t], &forward_[t]}) {
      const auto end = std::remove_if(list->begin(), list->end(),
                                      [node](const HistoryEntry& e) { return e.node == node; });
      if (end == list->end()) continue;
      list->erase(end, list->end());
      if (t == Tab(activeTab_)) activeChanged = true;
    }
  }
  // Menu item i stands for list entry i, so the menus follow the lists.
  if (activeChanged) RebuildMenus();
}

void NavigationHistory::ClearAll() {
  for (std::size_t t = 0; t < 2; ++t) {
    back_[t].clear();
    forward_[t].clear();
    skip_[t] = 0;
  }
  backMenu_.clear();
  forwardMenu_.clear();
}

void NavigationHistory::RebuildMenus() {
  const std::size_t t = Tab(activeTab_);
  backMenu_.clear();
  forwardMenu_.clear();
  for (std::size_t i = 0; i < back_[t].size() && i < kMenuItems; ++i) backMenu_.push_back(back_[t][i].caption);
  for (std::size_t i = 0; i < forward_[t].size() && i < kMenuItems; ++i)
    forwardMenu_.push_back(forward_[t][i].caption);
}

}  // namespace movra

