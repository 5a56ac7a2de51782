#include "window/dialogs/Searchcd.h"

#include <wx/button.h>
#include <wx/checkbox.h>
#include <wx/sizer.h>
#include <wx/statbox.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>

#include "catalog/CatalogueDocument.h"
#include "window/controls/CategoryTreeCtrl.h"
#include "window/controls/CategoryTrees.h"
#include "window/dialogs/DialogParts.h"
#include "workflows/DiscEntry.h"
#include "window/dialogs/UiText.h"

namespace movra {

TFindFile::TFindFile(wxWindow* parent, const CatalogueDocument& doc)
    : wxDialog(parent, wxID_ANY, Ui("查找"), wxDefaultPosition, wxDefaultSize, wxDEFAULT_DIALOG_STYLE) {
  CreateControls();
  // Filled before the handlers are attached, so filling moves no location.
  FillTree(doc);
  tv1->Bind(wxEVT_TREE_SEL_CHANGED, [this](wxTreeEvent&) { tv1Click(); });
  BindTreeClick(*tv1, [this] { tv1Click(); });
  const wxTreeItemId first = FirstTopNode(*tv1);
  if (first.IsOk()) tv1->ScrollTo(first);
}

void TFindFile::CreateControls() {
  auto* outer = new wxBoxSizer(wxHORIZONTAL);
  tv1 = CreateDialogTree(this, wxID_ANY);
  tv1->SetMinSize(wxSize(200, 280));
  outer->Add(tv1, 0, wxEXPAND | wxALL, 8);

  auto* right = new wxBoxSizer(wxVERTICAL);
  auto* group_sizer = new wxStaticBoxSizer(wxVERTICAL, this, Ui("查找选项"));
  GroupBox1 = group_sizer->GetStaticBox();
  wxWindow* box = GroupBox1;
  auto label = [box](const char* text) { return new wxStaticText(box, wxID_ANY, Ui(text)); };

  edt1 = new wxTextCtrl(box, wxID_ANY);
  NoteLabel = label("注意：可使用通配符 * ? 详见帮助");
  edt2 = new wxTextCtrl(box, wxID_ANY, wxEmptyString, wxDefaultPosition, wxDefaultSize, wxTE_READONLY);
  edt2->Disable();
  CheckBox1 = new wxCheckBox(box, wxID_ANY, Ui("区分大小写"));
  CheckBox2 = new wxCheckBox(box, wxID_ANY, Ui("完全匹配"));
  const int gap = 6;
  group_sizer->Add(label("查找内容"), 0, wxLEFT | wxRIGHT | wxTOP, gap);
  group_sizer->Add(edt1, 0, wxEXPAND | wxLEFT | wxRIGHT | wxTOP, gap);
  group_sizer->Add(NoteLabel, 0, wxLEFT | wxRIGHT | wxTOP, gap);
  group_sizer->AddSpacer(gap);
  group_sizer->Add(label("查找位置"), 0, wxLEFT | wxRIGHT | wxTOP, gap);
  group_sizer->Add(edt2, 0, wxEXPAND | wxLEFT | wxRIGHT | wxTOP, gap);
  group_sizer->AddSpacer(gap);
  group_sizer->Add(CheckBox1, 0, wxLEFT | wxRIGHT | wxTOP, gap);
  group_sizer->Add(CheckBox2, 0, wxALL, gap);
  right->Add(group_sizer, 1, wxEXPAND);

  auto* buttons = new wxBoxSizer(wxHORIZONTAL);
  btn1 = new wxButton(this, wxID_CANCEL, Ui("取消"));
  btn2 = new wxButton(this, wxID_ANY, Ui("开始"));
  buttons->AddStretchSpacer();
  buttons->Add(btn1, 0, wxRIGHT, gap);
  buttons->Add(btn2, 0);
  right->Add(buttons, 0, wxEXPAND | wxTOP, 8);

  outer->Add(right, 1, wxEXPAND | wxTOP | wxRIGHT | wxBOTTOM, 8);
  SetSizerAndFit(outer);
  SetMinClientSize(wxSize(480, -1));
  Fit();

  btn2->SetDefault();
  SetEscapeId(wxID_CANCEL);
  btn2->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { btn2Click(); });
  btn1->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { btn1Click(); });
  edt1->SetFocus();
  CentreOnParent();
}

void TFindFile::FillTree(const CatalogueDocument& doc) {
  if (CatalogueDocument::ChildElements(doc.CdList()).empty()) return;
  const wxTreeItemId all = movra::AddNode(*tv1, wxTreeItemId(), kAllCategoriesName, kCategoryImage);
  FillCategoryTree(*tv1, doc, FillMode::kCategories, all);
  tv1->Expand(all);
  SortRecursively(*tv1, tv1->GetRootItem());
}

void TFindFile::SetLocation(std::string_view path, bool is_disc) {
  SetFieldText(*edt2, path);
  location_is_disc_ = is_disc;
}

void TFindFile::tv1Click() {
  const wxTreeItemId selected = SelectedNode(*tv1);
  if (!selected.IsOk()) return;
  // When the tree first takes the focus it selects its root by itself; that
  // must not replace the location the main window preset.
  const bool first_select_of_root = selection_count_ == 0 && selected == FirstTopNode(*tv1);
  ++selection_count_;
  if (first_select_of_root) return;
  SetFieldText(*edt2, NodePath(*tv1, selected));
  location_is_disc_ = tv1->GetItemImage(selected) == kDiscImage;
}

void TFindFile::btn2Click() {
  started_ = true;
  EndDialog(wxID_OK);
}

void TFindFile::btn1Click() { EndDialog(wxID_CANCEL); }

std::string TFindFile::SearchText() const { return FieldText(*edt1); }

std::string TFindFile::LocationPath() const { return FieldText(*edt2); }

bool TFindFile::CaseSensitive() const { return CheckBox1->GetValue(); }

bool TFindFile::LiteralMatch() const { return CheckBox2->GetValue(); }

}  // namespace movra
