#include "browse/NavigationHistory.h"

#include <gtest/gtest.h>

namespace movra {
namespace {

HistoryEntry Node(NodeId id) { return HistoryEntry{id, std::string(1, static_cast<char>('A' + id - 1))}; }

// Drives the history as the window does: each tree keeps its selected node,
// which is the current node the history reads.
class HistoryTest : public ::testing::Test {
 protected:
  void SetUp() override {
    // The first change of each tree after start-up is not recorded.
    EXPECT_EQ(h_.RecordVisit(0, Node(1), Node(20)), VisitResult::Skipped);
    EXPECT_EQ(h_.RecordVisit(1, Node(1), Node(20)), VisitResult::Skipped);
    current_[0] = Node(1);
    current_[1] = Node(20);
  }
  // The user selects node id in the tree of the active tab.
  void Visit(NodeId id) {
    const int t = h_.ActiveTab();
    if (h_.RecordVisit(t, current_[0], current_[1]) != VisitResult::NotRecorded) current_[t] = Node(id);
  }
  void Back(std::size_t k) { Go(h_.GoBackTo(k, current_[h_.ActiveTab()])); }
  void Forward(std::size_t k) { Go(h_.GoForwardTo(k, current_[h_.ActiveTab()])); }
  void Go(const std::optional<HistoryEntry>& target) {
    ASSERT_TRUE(target);
    current_[h_.ActiveTab()] = *target;
  }
  static std::vector<NodeId> Ids(const std::deque<HistoryEntry>& list) {
    std::vector<NodeId> out;
    for (const HistoryEntry& e : list) out.push_back(e.node);
    return out;
  }

  NavigationHistory h_;
  std::optional<HistoryEntry> current_[2];
};

TEST_F(HistoryTest, BackToAMenuPositionAndForwardAgainRetracesThePath) {
  EXPECT_FALSE(h_.BackEnabled());
  Visit(2);
  Visit(3);
  Visit(4);
  EXPECT_EQ(h_.BackMenu(), (std::vector<std::string>{"C", "B", "A"}));
  Back(2);
  EXPECT_EQ(current_[0]->node, 1u);
  EXPECT_TRUE(h_.BackList(0).empty());
  EXPECT_EQ(Ids(h_.ForwardList(0)), (std::vector<NodeId>{2, 3, 4}));
  EXPECT_EQ(h_.ForwardMenu(), (std::vector<std::string>{"B", "C", "D"}));
  EXPECT_FALSE(h_.BackEnabled());
  EXPECT_TRUE(h_.ForwardEnabled());
  EXPECT_FALSE(h_.GoBack(current_[0]));  // disabled button does nothing
  Forward(0);
  EXPECT_EQ(current_[0]->node, 2u);
  Forward(1);
  EXPECT_EQ(current_[0]->node, 4u);
  EXPECT_EQ(h_.BackMenu(), (std::vector<std::string>{"C", "B", "A"}));
  EXPECT_FALSE(h_.ForwardEnabled());
}

TEST_F(HistoryTest, MenusHoldNineItemsAfterAVisitAndEightAfterARebuild) {
  for (NodeId id = 2; id <= 13; ++id) Visit(id);
  EXPECT_EQ(h_.BackMenu().size(), 9u);
  EXPECT_EQ(h_.BackMenu().front(), "L");
  EXPECT_EQ(h_.BackList(0).size(), 12u);
  Go(h_.GoBack(current_[0]));
  EXPECT_EQ(h_.BackMenu().size(), 8u);
  // Every earlier node is still reachable one step at a time.
  while (h_.BackEnabled()) Go(h_.GoBack(current_[0]));
  EXPECT_EQ(current_[0]->node, 1u);
  EXPECT_EQ(h_.ForwardList(0).size(), 12u);
  EXPECT_EQ(h_.ForwardMenu().size(), 8u);
}

TEST_F(HistoryTest, ANewVisitAfterGoingBackEmptiesTheForwardList) {
  Visit(2);
  Visit(3);
  Back(0);
  EXPECT_TRUE(h_.ForwardEnabled());
  Visit(5);
  EXPECT_FALSE(h_.ForwardEnabled());
  EXPECT_TRUE(h_.ForwardList(0).empty());
  EXPECT_EQ(h_.BackMenu(), (std::vector<std::string>{"B", "A"}));
}

TEST_F(HistoryTest, EachTabHasItsOwnHistory) {
  Visit(2);
  Visit(3);
  h_.TabChanged(1);
  EXPECT_FALSE(h_.BackEnabled());
  Visit(21);
  EXPECT_EQ(Ids(h_.BackList(1)), (std::vector<NodeId>{20}));
  EXPECT_EQ(h_.BackMenu().size(), 1u);
  h_.TabChanged(0);
  EXPECT_EQ(h_.BackMenu(), (std::vector<std::string>{"B", "A"}));
  EXPECT_EQ(Ids(h_.BackList(0)), (std::vector<NodeId>{2, 1}));
}

TEST_F(HistoryTest, NothingIsRecordedWithoutBothCurrentNodes) {
  EXPECT_EQ(h_.RecordVisit(0, Node(1), std::nullopt), VisitResult::NotRecorded);
  EXPECT_TRUE(h_.BackList(0).empty());
  EXPECT_FALSE(h_.BackEnabled());
  // Going back without a current node changes nothing.
  Visit(2);
  EXPECT_FALSE(h_.GoBack(std::nullopt));
  EXPECT_EQ(h_.BackList(0).size(), 1u);
}

TEST_F(HistoryTest, CaptionsAreCopiedWhenRecorded) {
  current_[0]->caption = "old";
  Visit(2);
  EXPECT_EQ(h_.BackMenu(), (std::vector<std::string>{"old"}));
}

TEST_F(HistoryTest, DeletedNodesLeaveNoEntries) {
  Visit(2);
  Visit(3);
  Visit(4);
  Visit(2);  // B twice in the list now
  Back(0);
  h_.TabChanged(1);
  Visit(21);
  h_.TabChanged(0);
  h_.RemoveNode(2);
  h_.RemoveNode(20);
  EXPECT_EQ(Ids(h_.BackList(0)), (std::vector<NodeId>{3, 1}));
  EXPECT_TRUE(h_.ForwardList(0).empty());
  EXPECT_EQ(h_.BackMenu(), (std::vector<std::string>{"C", "A"}));
  EXPECT_FALSE(h_.ForwardEnabled());
  EXPECT_TRUE(h_.BackList(1).empty());
  // No step can reach the deleted node any more.
  while (h_.BackEnabled()) {
    Go(h_.GoBack(current_[0]));
    EXPECT_NE(current_[0]->node, 2u);
  }
}

TEST_F(HistoryTest, ClearAllForgetsEverythingAndRestartsTheSkipCounters) {
  Visit(2);
  Back(0);
  h_.ClearAll();
  EXPECT_FALSE(h_.BackEnabled());
  EXPECT_FALSE(h_.ForwardEnabled());
  EXPECT_TRUE(h_.BackList(0).empty());
  EXPECT_TRUE(h_.ForwardList(0).empty());
  EXPECT_EQ(h_.RecordVisit(0, Node(1), Node(20)), VisitResult::Skipped);
  EXPECT_EQ(h_.RecordVisit(0, Node(1), Node(20)), VisitResult::Recorded);
  EXPECT_EQ(h_.RecordVisit(1, Node(1), Node(20)), VisitResult::Skipped);
}

}  // namespace
}  // namespace movra
