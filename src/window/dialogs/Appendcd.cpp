#include "window/dialogs/Appendcd.h"

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
#include "window/dialogs/FolderPicker.h"
#include "workflows/ScanRoot.h"
#include "window/dialogs/OpenFilePicker.h"
#include "window/dialogs/UiText.h"
#include "platform/DateTime.h"
#include "platform/DriveMap.h"
#include "window/controls/WxText.h"

namespace movra {

namespace {

// 光盘映像 (*.iso;*.img;*.udf): the image chooser's filter, matched in either case.
constexpr std::string_view kImageWildcard =
    "\xB9\xE2\xC5\xCC\xD3\xB3\xCF\xF1 (*.iso;*.img;*.udf)|*.iso;*.img;*.udf";

// 请选择扫描路径: the folder picker's caption.
constexpr std::string_view kPickerCaption = "\xC7\xEB\xD1\xA1\xD4\xF1\xC9\xA8\xC3\xE8\xC2\xB7\xBE\xB6";

}  // namespace

TAppend::TAppend(wxWindow* parent, const CatalogueDocument& doc, const DriveMap& drives)
    : wxDialog(parent, wxID_ANY, Ui("添加光盘"), wxDefaultPosition, wxDefaultSize, wxCAPTION),
      doc_(doc),
      drives_(drives),
      read_volume_(VolumeReaderOf(drives)) {
  CreateControls();
  FormCreate();
}

void TAppend::CreateControls() {
  auto* outer = new wxBoxSizer(wxHORIZONTAL);
  TreeView1 = CreateDialogTree(this, wxID_ANY);
  TreeView1->SetMinSize(wxSize(200, 320));
  outer->Add(TreeView1, 0, wxEXPAND | wxALL, 8);

  auto* group_sizer = new wxStaticBoxSizer(wxVERTICAL, this, Ui("选项"));
  GroupBox1 = group_sizer->GetStaticBox();
  wxWindow* box = GroupBox1;

  auto* path_row = new wxBoxSizer(wxHORIZONTAL);
  Button1 = new wxButton(box, wxID_ANY, Ui("选择光驱"));
  Button2 = new wxButton(box, wxID_ANY, Ui("选择映像"));
  Edit1 = new wxTextCtrl(box, wxID_ANY);
  path_row->Add(Button1, 0, wxALIGN_CENTER_VERTICAL | wxRIGHT, 6);
  path_row->Add(Button2, 0, wxALIGN_CENTER_VERTICAL | wxRIGHT, 6);
  path_row->Add(Edit1, 1, wxALIGN_CENTER_VERTICAL);
  group_sizer->Add(path_row, 0, wxEXPAND | wxALL, 6);

  auto* grid = new wxFlexGridSizer(2, wxSize(6, 6));
  grid->AddGrowableCol(1);
  grid->AddGrowableRow(4);
  auto label = [box](const char* text) { return new wxStaticText(box, wxID_ANY, Ui(text)); };
  Edit2 = new wxTextCtrl(box, wxID_ANY);
  Label1 = new wxStaticText(box, wxID_ANY, Ui("注：名称应该由汉字 英文字母 数字 小数点 下划线和减号组成．"));
  Edit3 = new wxTextCtrl(box, wxID_ANY);
  Edit4 = new wxTextCtrl(box, wxID_ANY, wxEmptyString, wxDefaultPosition, wxDefaultSize, wxTE_READONLY);
  Edit4->Disable();
  RichEdit1 = new wxTextCtrl(box, wxID_ANY, wxEmptyString, wxDefaultPosition, wxSize(-1, 110),
                             wxTE_MULTILINE | wxTE_RICH2);
  grid->Add(label("光盘名称"), 0, wxALIGN_CENTER_VERTICAL);
  grid->Add(Edit2, 1, wxEXPAND);
  grid->AddSpacer(0);
  grid->Add(Label1, 0);
  grid->Add(label("入库时间"), 0, wxALIGN_CENTER_VERTICAL);
  grid->Add(Edit3, 1, wxEXPAND);
  grid->Add(label("光盘分类"), 0, wxALIGN_CENTER_VERTICAL);
  grid->Add(Edit4, 1, wxEXPAND);
  grid->Add(label("光盘备注"), 0, wxALIGN_TOP | wxTOP, 4);
  grid->Add(RichEdit1, 1, wxEXPAND);
  Edit5 = new wxTextCtrl(box, wxID_ANY);
  Edit5->SetHint(Ui("例如 *.tmp; Thumbs.db（用分号隔开）"));
  grid->Add(label("排除"), 0, wxALIGN_CENTER_VERTICAL);
  grid->Add(Edit5, 1, wxEXPAND);
  group_sizer->Add(grid, 1, wxEXPAND | wxLEFT | wxRIGHT, 6);

  BitBtn2 = new wxButton(box, wxID_ANY, Ui("确定"));
  BitBtn1 = new wxButton(box, wxID_CANCEL, Ui("取消"));
  group_sizer->Add(ClosingButtonRow(BitBtn2, BitBtn1), 0, wxEXPAND | wxALL, 6);

  outer->Add(group_sizer, 1, wxEXPAND | wxTOP | wxRIGHT | wxBOTTOM, 8);
  SetSizerAndFit(outer);
  SetMinClientSize(wxSize(620, -1));
  Fit();

  Button1->SetDefault();
  SetEscapeId(wxID_CANCEL);
  Button1->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { Button1Click(); });
  Button2->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { Button2Click(); });
  BitBtn2->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { BitBtn2Click(); });
  BitBtn1->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { BitBtn1Click(); });
  Edit1->Bind(wxEVT_KILL_FOCUS, [this](wxFocusEvent& event) {
    event.Skip();
    if (IsBeingDeleted()) return;
    const std::optional<std::string> drive_form = DriveFormOf(ScanPathUtf8());
    if (drive_form.value_or(ScanPathText()) != proposed_for_) {
      Edit1Exit();
    } else if (drive_form && *drive_form != ScanPathText()) {
      SetFieldText(*Edit1, *drive_form);
    }
  });
  CentreOnParent();
}

void TAppend::FormCreate() {
  RichEdit1->Clear();
  FillDialogTree(*TreeView1, doc_);
  // Attached after the fill, so filling proposes no category.
  TreeView1->Bind(wxEVT_TREE_SEL_CHANGED, [this](wxTreeEvent&) { TreeView1Change(); });
  BindTreeClick(*TreeView1, [this] { TreeView1Click(); });
}

std::optional<std::string> TAppend::DriveFormOf(const std::string& utf8) const {
  return movra::DriveFormOf(drives_, utf8);
}

void TAppend::Button1Click() {
  const std::optional<std::string> chosen = Folders().ChooseFolder(this, kPickerCaption);
  Edit1->ChangeValue(chosen ? wxString::FromUTF8(*chosen) : wxString());
  Edit1Exit();
}

void TAppend::Button2Click() {
  const std::optional<std::string> chosen = OpenFiles().ChooseFile(this, kImageWildcard);
  if (!chosen) return;
  Edit1->ChangeValue(wxString::FromUTF8(*chosen));
  Edit1Exit();
}

void TAppend::Edit1Exit() {
  const std::optional<std::string> drive_form = DriveFormOf(ScanPathUtf8());
  if (drive_form) SetFieldText(*Edit1, *drive_form);
  const std::string path = ScanPathText();
  if (path.empty()) return;
  proposed_for_ = path;
  // An image proposes what the burnt disc would: its label and serial.
  const DiscProposal proposal = ProposeForSource(drives_, path, read_volume_, Now());
  SetFieldText(*Edit2, proposal.name);
  SetFieldText(*Edit3, proposal.date_text);
  SetFieldLines(*RichEdit1, proposal.memo_lines);
}

void TAppend::TreeView1Click() {
  const wxTreeItemId selected = SelectedNode(*TreeView1);
  if (!selected.IsOk()) return;
  SetFieldText(*Edit4, NodePath(*TreeView1, selected));
}

void TAppend::BitBtn2Click() {
  accepted_ = true;
  EndDialog(wxID_OK);
}

void TAppend::BitBtn1Click() { EndDialog(wxID_CANCEL); }

std::string TAppend::ScanPathText() const { return FieldText(*Edit1); }

std::string TAppend::ExclusionText() const { return Edit5->GetValue().utf8_string(); }

void TAppend::SetExclusionText(const std::string& utf8) { Edit5->ChangeValue(wxString::FromUTF8(utf8)); }

std::string TAppend::ScanPathUtf8() const { return std::string(Edit1->GetValue().utf8_str()); }

std::string TAppend::ScanPath() const {
  return ScanSourceOf(drives_, ScanPathUtf8());
}

std::string TAppend::DiscNameText() const { return FieldText(*Edit2); }

std::string TAppend::DiscName() const { return CleanName(DiscNameText()); }

std::string TAppend::DateText() const { return FieldText(*Edit3); }

std::string TAppend::CategoryPath() const { return FieldText(*Edit4); }

std::vector<std::string> TAppend::MemoLines() const { return FieldLines(*RichEdit1); }

std::string TAppend::Memo() const { return JoinMemoLines(MemoLines()); }

}  // namespace movra
