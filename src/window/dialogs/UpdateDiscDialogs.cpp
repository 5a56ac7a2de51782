#include "window/dialogs/UpdateDiscDialogs.h"

#include <wx/button.h>
#include <wx/sizer.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>

#include "browse/DisplayFormat.h"
#include "window/dialogs/DialogParts.h"
#include "window/dialogs/FolderPicker.h"
#include "window/dialogs/OpenFilePicker.h"
#include "window/dialogs/UiText.h"
#include "platform/DriveMap.h"
#include "platform/TextCodec.h"
#include "workflows/ScanRoot.h"
#include "window/controls/WxText.h"

namespace movra {
namespace {

// 请选择扫描路径: the folder picker's caption, as in Add disc.
constexpr std::string_view kPickerCaption = "\xC7\xEB\xD1\xA1\xD4\xF1\xC9\xA8\xC3\xE8\xC2\xB7\xBE\xB6";
// 光盘映像 (*.iso;*.img;*.udf): the image chooser's filter, matched in either case.
constexpr std::string_view kImageWildcard =
    "\xB9\xE2\xC5\xCC\xD3\xB3\xCF\xF1 (*.iso;*.img;*.udf)|*.iso;*.img;*.udf";

// "a -> b" when a changed value differs, else b.
std::string Transition(const std::string& before, const std::string& after, bool changed) {
  return changed && before != after ? before + " -> " + after : after;
}

}  // namespace

TUpdateSource::TUpdateSource(wxWindow* parent, const DriveMap& drives, std::string_view disc_name)
    : wxDialog(parent, wxID_ANY, Ui("更新光盘"), wxDefaultPosition, wxDefaultSize, wxCAPTION), drives_(drives) {
  auto* outer = new wxBoxSizer(wxVERTICAL);
  outer->Add(new wxStaticText(this, wxID_ANY, Ui("重新扫描光盘：") + GbkToWx(disc_name)), 0, wxALL, 8);
  auto* row = new wxBoxSizer(wxHORIZONTAL);
  Button1 = new wxButton(this, wxID_ANY, Ui("选择光驱"));
  Button2 = new wxButton(this, wxID_ANY, Ui("选择映像"));
  Edit1 = new wxTextCtrl(this, wxID_ANY, wxEmptyString, wxDefaultPosition, wxSize(320, -1));
  row->Add(Button1, 0, wxALIGN_CENTER_VERTICAL | wxRIGHT, 6);
  row->Add(Button2, 0, wxALIGN_CENTER_VERTICAL | wxRIGHT, 6);
  row->Add(Edit1, 1, wxALIGN_CENTER_VERTICAL);
  outer->Add(row, 0, wxEXPAND | wxLEFT | wxRIGHT, 8);
  BitBtn2 = new wxButton(this, wxID_ANY, Ui("确定"));
  BitBtn1 = new wxButton(this, wxID_CANCEL, Ui("取消"));
  outer->Add(ClosingButtonRow(BitBtn2, BitBtn1), 0, wxEXPAND | wxALL, 8);
  SetSizerAndFit(outer);
  BitBtn2->Disable();
  BitBtn2->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { BitBtn2Click(); });
  SetEscapeId(wxID_CANCEL);
  Button1->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { Button1Click(); });
  Button2->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { Button2Click(); });
  Edit1->Bind(wxEVT_TEXT, [this](wxCommandEvent&) { BitBtn2->Enable(!Edit1->IsEmpty()); });
  CentreOnParent();
}

wxString TUpdateSource::Shown(const std::string& native) const {
  const std::optional<std::string> drive_form = DriveFormOf(drives_, native);
  return drive_form ? GbkToWx(*drive_form) : wxString::FromUTF8(native);
}

std::string TUpdateSource::Source() const { return ScanSourceOf(drives_, std::string(Edit1->GetValue().utf8_str())); }

void TUpdateSource::Button1Click() {
  if (const std::optional<std::string> chosen = Folders().ChooseFolder(this, kPickerCaption)) {
    Edit1->ChangeValue(Shown(*chosen));
    BitBtn2->Enable();
  }
}

void TUpdateSource::Button2Click() {
  if (const std::optional<std::string> chosen = OpenFiles().ChooseFile(this, kImageWildcard)) {
    Edit1->ChangeValue(Shown(*chosen));
    BitBtn2->Enable();
  }
}

void TUpdateSource::BitBtn2Click() {
  if (Edit1->IsEmpty()) return;
  accepted_ = true;
  EndDialog(wxID_OK);
}

ChangeListCtrl::ChangeListCtrl(wxWindow* parent, const SnapshotDiff& diff)
    : wxListCtrl(parent, wxID_ANY, wxDefaultPosition, wxSize(640, 320),
                 wxLC_REPORT | wxLC_VIRTUAL | wxLC_SINGLE_SEL),
      diff_(diff) {
  AppendColumn(Ui("变化"), wxLIST_FORMAT_CENTER, 50);
  AppendColumn(Ui("路径"), wxLIST_FORMAT_LEFT, 330);
  AppendColumn(Ui("大小"), wxLIST_FORMAT_RIGHT, 110);
  AppendColumn(Ui("修改时间"), wxLIST_FORMAT_LEFT, 230);
  SetItemCount(static_cast<long>(diff.changes.size()));
}

wxString ChangeListCtrl::OnGetItemText(long item, long column) const {
  if (item < 0 || static_cast<std::size_t>(item) >= diff_.changes.size()) return wxEmptyString;
  const SnapshotChange& c = diff_.changes[static_cast<std::size_t>(item)];
  const bool removed = c.kind == ChangeKind::kRemoved;
  const bool changed = c.kind == ChangeKind::kChanged;
  switch (column) {
    case 0:
      return c.kind == ChangeKind::kAdded ? "+" : removed ? "-" : "~";
    case 1: {
      std::string path(c.key);
      path.append(c.name);
      if (!c.isFile) path.push_back('\\');
      return GbkToWx(path);
    }
    case 2:
      if (!c.isFile) return wxEmptyString;
      return GbkToWx(Transition(FormatSize(c.oldSize), FormatSize(removed ? c.oldSize : c.newSize), changed));
    case 3:
      return GbkToWx(
          Transition(FormatDate(c.oldModified), FormatDate(removed ? c.oldModified : c.newModified), changed));
    default:
      return wxEmptyString;
  }
}

std::string TUpdateDisc::CountsText(const SnapshotDiff& diff) {
  return Utf8ToGbk("新增 " + std::to_string(diff.added) + " 项，删除 " + std::to_string(diff.removed) +
                   " 项，更改 " + std::to_string(diff.changed) + " 项");
}

TUpdateDisc::TUpdateDisc(wxWindow* parent, std::string_view disc_name, const SnapshotDiff& diff)
    : wxDialog(parent, wxID_ANY, Ui("更新光盘"), wxDefaultPosition, wxDefaultSize,
               wxCAPTION | wxRESIZE_BORDER) {
  auto* outer = new wxBoxSizer(wxVERTICAL);
  outer->Add(new wxStaticText(this, wxID_ANY, GbkToWx(disc_name)), 0, wxLEFT | wxRIGHT | wxTOP, 8);
  Label1 = new wxStaticText(this, wxID_ANY,
                            diff.Empty() ? Ui("光盘内容没有变化。") : GbkToWx(CountsText(diff)));
  outer->Add(Label1, 0, wxALL, 8);
  ListView1 = new ChangeListCtrl(this, diff);
  outer->Add(ListView1, 1, wxEXPAND | wxLEFT | wxRIGHT, 8);
  BitBtn2 = new wxButton(this, wxID_ANY, Ui("确定"));
  BitBtn1 = new wxButton(this, wxID_CANCEL, Ui("取消"));
  outer->Add(ClosingButtonRow(BitBtn2, BitBtn1), 0, wxEXPAND | wxALL, 8);
  SetSizerAndFit(outer);
  SetEscapeId(wxID_CANCEL);
  BitBtn1->SetDefault();
  BitBtn2->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { BitBtn2Click(); });
  BitBtn1->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { BitBtn1Click(); });
  CentreOnParent();
}

void TUpdateDisc::BitBtn2Click() {
  accepted_ = true;
  EndDialog(wxID_OK);
}

void TUpdateDisc::BitBtn1Click() { EndDialog(wxID_CANCEL); }

}  // namespace movra
