#include "window/controls/ContentListCtrl.h"

#include <memory>

#include <gtest/gtest.h>
#include <wx/app.h>
#include <wx/frame.h>
#include <wx/imaglist.h>

#include "window/controls/WxText.h"

namespace movra {
namespace {

// A shown frame holding a content list with the four usual columns.
class ContentListCtrlTest : public ::testing::Test {
 protected:
  void SetUp() override {
    frame_ = new wxFrame(nullptr, wxID_ANY, "list");
    small_ = std::make_unique<wxImageList>(16, 16);
    large_ = std::make_unique<wxImageList>(32, 32);
    std::vector<ListColumnSpec> columns = {{"\xC3\xFB\xB3\xC6", 250, wxLIST_FORMAT_LEFT},
                                           {"\xB4\xF3\xD0\xA1", 80, wxLIST_FORMAT_RIGHT},
                                           {"\xD0\xDE\xB8\xC4\xCA\xB1\xBC\xE4", 110, wxLIST_FORMAT_LEFT},
                                           {"\xC0\xE0\xD0\xCD", -1, wxLIST_FORMAT_LEFT}};
    list_ = new ContentListCtrl(frame_, wxID_ANY, columns, small_.get(), large_.get());
    frame_->SetClientSize(600, 400);
    frame_->Show();
    list_->Bind(EVT_CONTENT_SELECTION_CHANGED, [this](wxCommandEvent&) { ++selectionEvents_; });
    list_->Bind(EVT_CONTENT_COLUMN_CLICK, [this](wxCommandEvent& e) { lastColumn_ = e.GetInt(); });
    list_->Bind(EVT_CONTENT_ITEM_ACTIVATED, [this](wxCommandEvent& e) { lastActivated_ = e.GetInt(); });
  }
  void TearDown() override { frame_->Destroy(); }

  void Fill(int rows) {
    ListModel& m = list_->Model();
    m.Clear();
    for (int i = 0; i < rows; ++i)
      m.AppendRow("row" + std::to_string(i), -1, std::to_string(i) + " KB", "2006-03-03 09:07:02",
                  "\xCE\xC4\xBC\xFE");
    list_->RefreshFromModel();
  }
  // Runs the calls the control queued for after the current event.
  static void Pump() { wxTheApp->ProcessPendingEvents(); }
  std::vector<long> ViewSelection() const {
    std::vector<long> out;
    wxListCtrl* l = list_->ActiveList();
    for (long i = l->GetNextItem(-1, wxLIST_NEXT_ALL, wxLIST_STATE_SELECTED); i != -1;
         i = l->GetNextItem(i, wxLIST_NEXT_ALL, wxLIST_STATE_SELECTED))
      out.push_back(i);
    return out;
  }
  std::vector<long> ModelSelection() const {
    std::vector<long> out;
    for (std::size_t i : list_->Model().SelectedIndexes()) out.push_back(static_cast<long>(i));
    return out;
  }

  wxFrame* frame_ = nullptr;
  std::unique_ptr<wxImageList> small_, large_;
  ContentListCtrl* list_ = nullptr;
  int selectionEvents_ = 0;
  int lastColumn_ = -1;
  int lastActivated_ = -1;
};

TEST_F(ContentListCtrlTest, DetailsViewReadsTextsFromTheModel) {
  EXPECT_EQ(list_->ViewStyle(), ListViewStyle::Details);
  list_->Model().AppendRow("\xB9\xE2\xC5\xCC.txt", 2, "1 KB", "2006-03-03 09:07:02", "\xCE\xC4\xBC\xFE");
  list_->Model().AppendCaption("memo", -1);
  list_->RefreshFromModel();
  wxListCtrl* l = list_->ActiveList();
  ASSERT_EQ(l->GetItemCount(), 2);
  EXPECT_EQ(WxToGbk(l->GetItemText(0, 0)), "\xB9\xE2\xC5\xCC.txt");
  EXPECT_EQ(WxToGbk(l->GetItemText(0, 1)), "1 KB");
  EXPECT_EQ(WxToGbk(l->GetItemText(0, 3)), "\xCE\xC4\xBC\xFE");
  // A caption-only row shows empty sub-items.
  EXPECT_EQ(WxToGbk(l->GetItemText(1, 2)), "");
  EXPECT_EQ(list_->ColumnCount(), 4);
  EXPECT_EQ(list_->ColumnCaption(1), "\xB4\xF3\xD0\xA1");
  EXPECT_EQ(list_->ColumnCaption(4), "");
  EXPECT_EQ(l->GetColumnCount(), 4);
}

TEST_F(ContentListCtrlTest, SwitchingStylesKeepsRowsAndSelection) {
  Fill(5);
  list_->Model().SetSelected(1, true);
  list_->Model().SetSelected(3, true);
  list_->RefreshFromModel();
  EXPECT_EQ(ViewSelection(), (std::vector<long>{1, 3}));
  for (ListViewStyle style : {ListViewStyle::LargeIcons, ListViewStyle::List, ListViewStyle::SmallIcons,
                              ListViewStyle::Details, ListViewStyle::List}) {
    list_->SetViewStyle(style);
    Pump();
    EXPECT_EQ(list_->ViewStyle(), style);
    wxListCtrl* l = list_->ActiveList();
    EXPECT_TRUE(l->IsShown());
    ASSERT_EQ(l->GetItemCount(), 5);
    EXPECT_EQ(WxToGbk(l->GetItemText(4)), "row4");
    EXPECT_EQ(ViewSelection(), (std::vector<long>{1, 3}));
    EXPECT_EQ(ModelSelection(), (std::vector<long>{1, 3}));
  }
  EXPECT_EQ(selectionEvents_, 0);  // programmatic changes are not reported
}

TEST_F(ContentListCtrlTest, UserSelectionReachesTheModelWithOneEvent) {
  for (ListViewStyle style : {ListViewStyle::Details, ListViewStyle::LargeIcons}) {
    list_->SetViewStyle(style);
    Fill(6);
    selectionEvents_ = 0;
    wxListCtrl* l = list_->ActiveList();
    l->SetItemState(2, wxLIST_STATE_SELECTED, wxLIST_STATE_SELECTED);
    l->SetItemState(4, wxLIST_STATE_SELECTED, wxLIST_STATE_SELECTED);
    Pump();
    EXPECT_EQ(ModelSelection(), (std::vector<long>{2, 4}));
    EXPECT_EQ(selectionEvents_, 1);
    l->SetItemState(2, 0, wxLIST_STATE_SELECTED);
    Pump();
    EXPECT_EQ(ModelSelection(), (std::vector<long>{4}));
    EXPECT_EQ(selectionEvents_, 2);
  }
}

TEST_F(ContentListCtrlTest, SilentRangeChangesOfTheVirtualListAreCaught) {
  Fill(6);
  wxListCtrl* l = list_->ActiveList();
  l->SetItemState(1, wxLIST_STATE_SELECTED, wxLIST_STATE_SELECTED);
  Pump();
  selectionEvents_ = 0;
  // The virtual list selects ranges without an event per row and then sends
  // one deselection for "some rows" (index -1), as a plain click does.
  l->SetItemState(-1, wxLIST_STATE_SELECTED, wxLIST_STATE_SELECTED);
  wxListEvent bulk(wxEVT_LIST_ITEM_DESELECTED, l->GetId());
  bulk.SetEventObject(l);
  bulk.m_itemIndex = -1;
  l->GetEventHandler()->ProcessEvent(bulk);
  Pump();
  EXPECT_EQ(list_->Model().SelectedCount(), 6u);
  EXPECT_EQ(selectionEvents_, 1);
}

TEST_F(ContentListCtrlTest, SelectAllAndInvertReportOnceUnlessQuiet) {
  Fill(4);
  list_->Model().SetSelected(0, true);
  list_->RefreshFromModel();
  list_->InvertSelection();
  EXPECT_EQ(ModelSelection(), (std::vector<long>{1, 2, 3}));
  EXPECT_EQ(ViewSelection(), (std::vector<long>{1, 2, 3}));
  EXPECT_EQ(selectionEvents_, 1);
  list_->SelectAll();
  EXPECT_EQ(ViewSelection(), (std::vector<long>{0, 1, 2, 3}));
  EXPECT_EQ(selectionEvents_, 2);
  list_->SelectAll();  // nothing changes, nothing is reported
  EXPECT_EQ(selectionEvents_, 2);
  {
    ContentListCtrl::Quiet quiet(*list_);
    list_->InvertSelection();
    Pump();
  }
  EXPECT_EQ(list_->Model().SelectedCount(), 0u);
  EXPECT_EQ(selectionEvents_, 2);
  list_->SetViewStyle(ListViewStyle::SmallIcons);
  list_->InvertSelection();
  EXPECT_EQ(ViewSelection(), (std::vector<long>{0, 1, 2, 3}));
  EXPECT_EQ(selectionEvents_, 3);
}

TEST_F(ContentListCtrlTest, ColumnClicksAndActivationAreForwarded) {
  Fill(3);
  wxListCtrl* l = list_->ActiveList();
  wxListEvent click(wxEVT_LIST_COL_CLICK, l->GetId());
  click.SetEventObject(l);
  click.m_col = 2;
  l->GetEventHandler()->ProcessEvent(click);
  EXPECT_EQ(lastColumn_, 2);

  l->SetItemState(1, wxLIST_STATE_SELECTED, wxLIST_STATE_SELECTED);
  wxListEvent activate(wxEVT_LIST_ITEM_ACTIVATED, l->GetId());
  activate.SetEventObject(l);
  activate.m_itemIndex = 1;
  l->GetEventHandler()->ProcessEvent(activate);
  EXPECT_EQ(lastActivated_, 1);
  // The model already knows the selection when the activation arrives.
  EXPECT_EQ(ModelSelection(), (std::vector<long>{1}));
}

}  // namespace
}  // namespace movra
