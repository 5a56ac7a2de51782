#include "window/dialogs/ScanProgressDialog.h"

#include <wx/app.h>
#include <wx/button.h>
#include <wx/sizer.h>
#include <wx/stattext.h>
#include <wx/utils.h>

#include "window/dialogs/UiText.h"
#include "window/controls/WxText.h"

namespace movra {
namespace {

ScanFeedbackTiming& Timing() {
  static ScanFeedbackTiming timing;
  return timing;
}

std::function<void(ScanProgressDialog&)>& Observer() {
  static std::function<void(ScanProgressDialog&)> observer;
  return observer;
}

}  // namespace

ScanProgressDialog::ScanProgressDialog(wxWindow* parent)
    : wxDialog(parent, wxID_ANY, Ui("添加光盘"), wxDefaultPosition, wxDefaultSize, wxCAPTION) {
  auto* sizer = new wxBoxSizer(wxVERTICAL);
  FolderLabel = new wxStaticText(this, wxID_ANY, Ui("正在读取："), wxDefaultPosition, wxSize(420, -1),
                                 wxST_NO_AUTORESIZE | wxST_ELLIPSIZE_MIDDLE);
  CountLabel = new wxStaticText(this, wxID_ANY, wxEmptyString);
  CancelButton = new wxButton(this, wxID_CANCEL, Ui("取消"));
  sizer->Add(FolderLabel, 0, wxEXPAND | wxLEFT | wxRIGHT | wxTOP, 12);
  sizer->Add(CountLabel, 0, wxEXPAND | wxALL, 12);
  sizer->Add(CancelButton, 0, wxALIGN_RIGHT | wxLEFT | wxRIGHT | wxBOTTOM, 12);
  SetSizerAndFit(sizer);
  SetEscapeId(wxID_CANCEL);
  CancelButton->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { CancelButtonClick(); });
  CentreOnParent();
}

void ScanProgressDialog::ShowProgress(const ScanProgress& progress) {
  FolderLabel->SetLabel(Ui("正在读取：") + GbkToWx(progress.folder));
  wxString counts = Ui("已找到 ");
  counts << progress.folders << Ui(" 个文件夹，") << progress.files << Ui(" 个文件");
  CountLabel->SetLabel(counts);
}

void ScanProgressDialog::CancelButtonClick() {
  cancelled_ = true;
  CancelButton->Disable();
}

void SetScanFeedbackTiming(ScanFeedbackTiming timing) { Timing() = std::move(timing); }

void SetScanFeedbackObserver(std::function<void(ScanProgressDialog&)> observer) {
  Observer() = std::move(observer);
}

ScanFeedback::ScanFeedback(wxWindow* parent) : parent_(parent), timing_(Timing()) {
  next_update_ = timing_.now() + timing_.delay;
}

ScanFeedback::~ScanFeedback() {
  disabler_.reset();  // the other windows come back before this one goes
  if (dialog_ != nullptr) dialog_->Destroy();
}

bool ScanFeedback::Report(const ScanProgress& progress) {
  const auto now = timing_.now();
  if (now < next_update_) return true;
  next_update_ = now + timing_.interval;
  if (dialog_ == nullptr) {
    dialog_ = new ScanProgressDialog(parent_);
    dialog_->Show();
    // Only the stop button answers while the scan goes on.
    disabler_ = std::make_unique<wxWindowDisabler>(dialog_);
  }
  dialog_->ShowProgress(progress);
  if (Observer()) Observer()(*dialog_);
  // Let the window paint and the button be pressed; a nested yield is skipped.
  if (wxTheApp != nullptr) wxTheApp->Yield(true);
  return !dialog_->Cancelled();
}

}  // namespace movra
