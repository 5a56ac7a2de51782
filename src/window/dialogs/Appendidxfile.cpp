#include "window/dialogs/Appendidxfile.h"

#include <wx/button.h>
#include <wx/sizer.h>
#include <wx/statbox.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>

#include "window/controls/CategoryTreeCtrl.h"
#include "window/controls/CategoryTrees.h"
#include "catalog/NameRules.h"
#include "window/dialogs/DialogParts.h"
#include "workflows/DiscEntry.h"
#include "window/dialogs/UiText.h"
#include "workflows/AddDisc.h"

namespace movra {

TAppIdxFile::TAppIdxFile(wxWindow* parent, const CatalogueDocument& doc)
    : wxDialog(parent, wxID_ANY, Ui("导入光盘快照"), wxDefaultPosition, wxDefaultSize, wxCAPTION),
      doc_(doc) {
  CreateControls();
  FormCreate();
}

void TAppIdxFile::CreateControls() {
  auto* outer = new wxBoxSizer(wxHORIZONTAL);
  tv1 = CreateDialogTree(this, wxID_ANY);
  tv1->SetMinSize(wxSize(200, 300));
  outer->Add(tv1, 0, wxEXPAND | wxALL, 8);

  auto* group_sizer = new wxStaticBoxSizer(wxVERTICAL, this, Ui("光盘说明"));
  GroupBox1 = group_sizer->GetStaticBox();
  wxWindow* box = GroupBox1;

  auto* grid = new wxFlexGridSizer(2, wxSize(6, 6));
  grid->AddGrowableCol(1);
  grid->AddGrowableRow(4);
  auto label = [box](const char* text) { return new wxStaticText(box, wxID_ANY, Ui(text)); };
  edt1 = new wxTextCtrl(box, wxID_ANY, wxEmptyString, wxDefaultPosition, wxDefaultSize, wxTE_READONLY);
  edt1->Disable();
  Label1 = new wxStaticText(box, wxID_ANY, Ui("注：名称应该由汉字 英文字母 数字 小数点 下划线和减号组成．"));
  edt2 = new wxTextCtrl(box, wxID_ANY);
  edt3 = new wxTextCtrl(box, wxID_ANY, wxEmptyString, wxDefaultPosition, wxDefaultSize, wxTE_READONLY);
  edt3->Disable();
  RichEdit1 = new wxTextCtrl(box, wxID_ANY, wxEmptyString, wxDefaultPosition, wxSize(-1, 110),
                             wxTE_MULTILINE | wxTE_RICH2);
  grid->Add(label("光盘名称"), 0, wxALIGN_CENTER_VERTICAL);
  grid->Add(edt1, 1, wxEXPAND);
  grid->AddSpacer(0);
  grid->Add(Label1, 0);
  grid->Add(label("入库时间"), 0, wxALIGN_CENTER_VERTICAL);
  grid->Add(edt2, 1, wxEXPAND);
  grid->Add(label("用途分类"), 0, wxALIGN_CENTER_VERTICAL);
  grid->Add(edt3, 1, wxEXPAND);
  grid->Add(label("光盘备注"), 0, wxALIGN_TOP | wxTOP, 4);
  grid->Add(RichEdit1, 1, wxEXPAND);
  group_sizer->Add(grid, 1, wxEXPAND | wxALL, 6);

  btn2 = new wxButton(box, wxID_ANY, Ui("开始"));
  btn1 = new wxButton(box, wxID_CANCEL, Ui("取消"));
  group_sizer->Add(ClosingButtonRow(btn2, btn1), 0, wxEXPAND | wxALL, 6);

  outer->Add(group_sizer, 1, wxEXPAND | wxTOP | wxRIGHT | wxBOTTOM, 8);
  SetSizerAndFit(outer);
  SetMinClientSize(wxSize(600, -1));
  Fit();

  SetEscapeId(wxID_CANCEL);
  btn2->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { btn2Click(); });
  btn1->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { btn1Click(); });
  CentreOnParent();
}

void TAppIdxFile::FormCreate() {
  RichEdit1->Clear();
  FillDialogTree(*tv1, doc_);
  tv1->Bind(wxEVT_TREE_SEL_CHANGED, [this](wxTreeEvent&) { tv1Click(); });
  BindTreeClick(*tv1, [this] { tv1Click(); });
}

void TAppIdxFile::Preset(std::string_view stem, DateTime now) {
  const DiscProposal proposal = ProposeImport(stem, now);
  SetDiscNameText(proposal.name);
  SetDateText(proposal.date_text);
  SetMemoLines(proposal.memo_lines);
}

void TAppIdxFile::SetDiscNameText(std::string_view gbk) { SetFieldText(*edt1, gbk); }

void TAppIdxFile::SetDateText(std::string_view gbk) { SetFieldText(*edt2, gbk); }

void TAppIdxFile::SetMemoLines(const std::vector<std::string>& lines) { SetFieldLines(*RichEdit1, lines); }

void TAppIdxFile::tv1Click() {
  const wxTreeItemId selected = SelectedNode(*tv1);
  if (!selected.IsOk()) return;
  SetFieldText(*edt3, NodePath(*tv1, selected));
}

void TAppIdxFile::btn2Click() {
  accepted_ = true;
  EndDialog(wxID_OK);
}

void TAppIdxFile::btn1Click() { EndDialog(wxID_CANCEL); }

std::string TAppIdxFile::DiscNameText() const { return FieldText(*edt1); }

std::string TAppIdxFile::DiscName() const { return CleanName(DiscNameText()); }

std::string TAppIdxFile::DateText() const { return FieldText(*edt2); }

std::string TAppIdxFile::CategoryPath() const { return FieldText(*edt3); }

std::vector<std::string> TAppIdxFile::MemoLines() const { return FieldLines(*RichEdit1); }

std::string TAppIdxFile::Memo() const { return JoinMemoLines(MemoLines()); }

}  // namespace movra
