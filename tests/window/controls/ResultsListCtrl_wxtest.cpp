// The results list on its own: check marks kept by the list across growing
// and emptying, clicks on a row's check box, and a million rows.
#include <gtest/gtest.h>

#include <wx/app.h>
#include <wx/frame.h>
#include <wx/sizer.h>
#include <wx/uiaction.h>
#include <wx/utils.h>

#include "window/controls/ResultsListCtrl.h"
#include "window/platform/IconProvider.h"

namespace movra {
namespace {

// Runs pending events and idle handlers.
void Pump() {
  for (int i = 0; i < 3; ++i) {
    wxYield();
    wxTheApp->ProcessPendingEvents();
    wxTheApp->ProcessIdle();
  }
}

class ResultsListTest : public ::testing::Test {
 protected:
  ResultsListTest() : icons_("") {
    frame_ = new wxFrame(nullptr, wxID_ANY, "results", wxPoint(50, 50), wxSize(700, 400));
    list_ = new ResultsListCtrl(frame_, wxID_ANY, icons_);
    auto* sizer = new wxBoxSizer(wxVERTICAL);
    sizer->Add(list_, 1, wxEXPAND);
    frame_->SetSizer(sizer);
    frame_->Show();
    frame_->Layout();
  }
  ~ResultsListTest() override {
    frame_->Destroy();
    Pump();
  }
  // A disc header followed by count file rows.
  void AddDisc(const std::string& label, int count) {
    list_->Rows().AddDisc(label);
    for (int i = 0; i < count; ++i)
      list_->Rows().AddEntry(true, "f" + std::to_string(i) + ".txt", "E:\\", 1, 38779.0);
  }

  IconProvider icons_;
  wxFrame* frame_ = nullptr;
  ResultsListCtrl* list_ = nullptr;
};

TEST_F(ResultsListTest, CheckMarksStayWithTheirRowsWhileRowsAreAddedAndGoWhenTheListIsEmptied) {
  AddDisc("A", 3);
  list_->ShowRows();
  ASSERT_EQ(list_->GetItemCount(), 4);
  list_->CheckItem(2, true);
  EXPECT_TRUE(list_->IsItemChecked(2));
  EXPECT_FALSE(list_->IsItemChecked(1));

  AddDisc("B", 2);
  list_->ShowRows();
  ASSERT_EQ(list_->GetItemCount(), 7);
  EXPECT_TRUE(list_->IsItemChecked(2));
  EXPECT_FALSE(list_->IsItemChecked(5));
  list_->CheckItem(2, false);
  EXPECT_FALSE(list_->IsItemChecked(2));
  list_->CheckItem(6, true);

  list_->ClearRows();
  EXPECT_EQ(list_->GetItemCount(), 0);
  EXPECT_TRUE(list_->Rows().empty());
  EXPECT_FALSE(list_->IsItemChecked(6));
  list_->CheckItem(0, true);  // no row: ignored
  AddDisc("C", 9);
  list_->ShowRows();
  EXPECT_FALSE(list_->IsItemChecked(6));  // a new search starts unchecked
}

TEST_F(ResultsListTest, AClickOnARowsCheckBoxTogglesItsMark) {
  AddDisc("A", 3);
  list_->ShowRows();
  list_->Update();
  Pump();
  wxRect row;
  ASSERT_TRUE(list_->GetItemRect(1, row));
  // The check box sits at the start of the first column.
  const wxPoint box = list_->ClientToScreen(wxPoint(row.x + 14, row.y + row.height / 2));
  wxUIActionSimulator sim;
  for (bool expected : {true, false}) {
    wxMilliSleep(600);  // two clicks, not a double click
    sim.MouseMove(box);
    sim.MouseClick();
    for (int i = 0; i < 50 && list_->IsItemChecked(1) != expected; ++i) {
      wxMilliSleep(10);
      Pump();
    }
    EXPECT_EQ(list_->IsItemChecked(1), expected);
  }
  EXPECT_FALSE(list_->IsItemChecked(0));
  EXPECT_FALSE(list_->IsItemChecked(2));
}

TEST_F(ResultsListTest, AMillionRowsShowWithoutWidgetItems) {
  list_->Rows().AddDisc("Big");
  for (int i = 0; i < 1000000; ++i) list_->Rows().AddEntry(i % 2 == 0, "n" + std::to_string(i), "E:\\", i, 38779.0);
  list_->ShowRows();
  list_->CheckItem(999999, true);
  list_->EnsureVisible(999999);
  list_->Update();
  EXPECT_EQ(list_->GetItemCount(), 1000001);
  EXPECT_EQ(list_->GetItemText(1000000, kResultsName), "n999999");
  EXPECT_EQ(list_->GetItemText(1000000, kResultsType).utf8_string(), "目录");
  EXPECT_EQ(list_->GetItemText(3, kResultsSize).utf8_string(), "1 KB");
  EXPECT_TRUE(list_->IsItemChecked(999999));
}

}  // namespace
}  // namespace movra
