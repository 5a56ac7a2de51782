#include "window/dialogs/Searchcd.h"

#include <algorithm>

#include <wx/button.h>
#include <wx/checkbox.h>
#include <wx/choice.h>
#include <wx/datectrl.h>
#include <wx/dateevt.h>
#include <wx/sizer.h>
#include <wx/statbox.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>

#include "catalog/CatalogueDocument.h"
#include "window/controls/CategoryTreeCtrl.h"
#include "window/controls/CategoryTrees.h"
#include "window/dialogs/DialogParts.h"
#include "window/dialogs/MessageBox.h"
#include "workflows/DiscEntry.h"
#include "window/dialogs/UiText.h"

namespace movra {
namespace {

// The unit letters of the size choices 字节, KB, MB, GB.
constexpr const char* kUnitLetters[] = {"", "K", "M", "G"};

wxChoice* UnitChoice(wxWindow* parent) {
  auto* choice = new wxChoice(parent, wxID_ANY);
  for (const char* unit : {"字节", "KB", "MB", "GB"}) choice->Append(Ui(unit));
  choice->SetSelection(2);
  return choice;
}

wxDatePickerCtrl* DatePicker(wxWindow* parent) {
  auto* picker = new wxDatePickerCtrl(parent, wxID_ANY, wxDefaultDateTime, wxDefaultPosition, wxDefaultSize,
                                      wxDP_DROPDOWN | wxDP_SHOWCENTURY | wxDP_ALLOWNONE);
  picker->SetValue(wxDefaultDateTime);
  return picker;
}

// The size of a field and its unit; nullopt for an empty field. A text that
// ends in a unit of its own ("700M") is read as it stands.
std::optional<std::optional<std::int64_t>> SizeOf(const wxTextCtrl& field, const wxChoice& unit,
                                                  std::string& message) {
  const std::string typed = FieldText(field);
  if (typed.find_first_not_of(" \t") == std::string::npos) return std::optional<std::int64_t>{};
  const size_t last = typed.find_last_not_of(" \t");
  const bool has_unit = (typed[last] | 0x20) >= 'a' && (typed[last] | 0x20) <= 'z';
  const int chosen = std::max(0, unit.GetSelection());
  const std::optional<std::int64_t> size = ParseSizeText(has_unit ? typed : typed + kUnitLetters[chosen]);
  if (!size) {
    message = BadSizeMessage(typed);
    return std::nullopt;
  }
  return size;
}

// Shows a size in the largest unit of the choice that holds it whole.
void ShowSize(wxTextCtrl& field, wxChoice& unit, const std::optional<std::int64_t>& size) {
  int chosen = 0;
  std::int64_t value = size.value_or(0);
  while (size && chosen < 3 && value != 0 && value % 1024 == 0) {
    value /= 1024;
    ++chosen;
  }
  field.ChangeValue(size ? wxString(std::to_string(value)) : wxString());
  unit.SetSelection(size ? chosen : 2);
}

// The day a picker shows, as that day's start; nullopt when it is unset.
std::optional<DateTime> DayOf(const wxDatePickerCtrl& picker) {
  const wxDateTime day = picker.GetValue();
  if (!day.IsValid()) return std::nullopt;
  return EncodeDateTime({day.GetYear(), static_cast<int>(day.GetMonth()) + 1, day.GetDay()});
}

void ShowDay(wxDatePickerCtrl& picker, const std::optional<DateTime>& value) {
  if (!value) {
    picker.SetValue(wxDefaultDateTime);
    return;
  }
  const DateTimeParts parts = DecodeDateTime(*value);
  picker.SetValue(wxDateTime(static_cast<wxDateTime::wxDateTime_t>(parts.day),
                             static_cast<wxDateTime::Month>(parts.month - 1), parts.year));
}

}  // namespace

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
  right->Add(group_sizer, 0, wxEXPAND);
  CreateConditionControls(*right);

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

void TFindFile::CreateConditionControls(wxSizer& sizer) {
  auto* group_sizer = new wxStaticBoxSizer(wxVERTICAL, this, Ui("更多条件"));
  GroupBox2 = group_sizer->GetStaticBox();
  wxWindow* box = GroupBox2;
  auto label = [box](const char* text) { return new wxStaticText(box, wxID_ANY, Ui(text)); };
  MinSizeEdit = new wxTextCtrl(box, wxID_ANY);
  MinSizeUnit = UnitChoice(box);
  MaxSizeEdit = new wxTextCtrl(box, wxID_ANY);
  MaxSizeUnit = UnitChoice(box);
  AfterPicker = DatePicker(box);
  BeforePicker = DatePicker(box);
  KindChoice = new wxChoice(box, wxID_ANY);
  for (const char* kind : {"全部", "只找文件", "只找文件夹"}) KindChoice->Append(Ui(kind));
  KindChoice->SetSelection(0);

  const int gap = 6;
  auto* grid = new wxFlexGridSizer(3, gap, gap);
  grid->AddGrowableCol(1);
  auto row = [&](const char* text, wxWindow* field, wxWindow* unit) {
    grid->Add(label(text), 0, wxALIGN_CENTER_VERTICAL);
    grid->Add(field, 1, wxEXPAND);
    if (unit != nullptr) {
      grid->Add(unit, 0);
    } else {
      grid->AddSpacer(0);
    }
  };
  row("大小至少", MinSizeEdit, MinSizeUnit);
  row("大小至多", MaxSizeEdit, MaxSizeUnit);
  row("修改日期不早于", AfterPicker, nullptr);
  row("修改日期早于", BeforePicker, nullptr);
  row("类型", KindChoice, nullptr);
  group_sizer->Add(grid, 0, wxEXPAND | wxALL, gap);
  sizer.Add(group_sizer, 1, wxEXPAND | wxTOP, 8);
}

std::optional<EntryConditions> TFindFile::ReadConditions(std::string& message) const {
  EntryConditions conditions;
  const auto min_size = SizeOf(*MinSizeEdit, *MinSizeUnit, message);
  if (!min_size) return std::nullopt;
  const auto max_size = SizeOf(*MaxSizeEdit, *MaxSizeUnit, message);
  if (!max_size) return std::nullopt;
  conditions.min_size = *min_size;
  conditions.max_size = *max_size;
  conditions.after = DayOf(*AfterPicker);
  conditions.before = DayOf(*BeforePicker);
  const int kind = KindChoice->GetSelection();
  conditions.kinds = kind == 1 ? EntryKinds::kFiles : kind == 2 ? EntryKinds::kFolders : EntryKinds::kAll;
  return conditions;
}

void TFindFile::SetConditions(const EntryConditions& conditions) {
  ShowSize(*MinSizeEdit, *MinSizeUnit, conditions.min_size);
  ShowSize(*MaxSizeEdit, *MaxSizeUnit, conditions.max_size);
  ShowDay(*AfterPicker, conditions.after);
  ShowDay(*BeforePicker, conditions.before);
  KindChoice->SetSelection(static_cast<int>(conditions.kinds));
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
  std::string message;
  const std::optional<EntryConditions> conditions = ReadConditions(message);
  if (!conditions) {
    ShowInfoBox(this, message);
    MinSizeEdit->SetFocus();
    return;
  }
  conditions_ = *conditions;
  started_ = true;
  EndDialog(wxID_OK);
}

void TFindFile::btn1Click() { EndDialog(wxID_CANCEL); }

std::string TFindFile::SearchText() const { return FieldText(*edt1); }

std::string TFindFile::LocationPath() const { return FieldText(*edt2); }

bool TFindFile::CaseSensitive() const { return CheckBox1->GetValue(); }

bool TFindFile::LiteralMatch() const { return CheckBox2->GetValue(); }

}  // namespace movra
