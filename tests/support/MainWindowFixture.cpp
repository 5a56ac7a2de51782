#include "support/MainWindowFixture.h"

#include <unistd.h>

#include <filesystem>

#include <wx/app.h>
#include <wx/dialog.h>
#include <wx/modalhook.h>
#include <wx/msgdlg.h>
#include <wx/uiaction.h>
#include <wx/utils.h>

#include "platform/TextCodec.h"
#include "window/controls/WxText.h"

namespace movra::test {
namespace {

void FailOnAssert(const wxString& file, int line, const wxString& func, const wxString& cond, const wxString& msg) {
  ADD_FAILURE() << "wxWidgets assertion " << cond.utf8_string() << " (" << msg.utf8_string() << ") in "
                << func.utf8_string() << " at " << file.utf8_string() << ":" << line;
}

}  // namespace

std::string Gbk(const char* utf8) { return Utf8ToGbk(utf8); }

// Answers message boxes and refuses every other modal dialog, so that no
// test can hang on a modal loop. Registered first, it is asked last: the
// hooks of wxTEST_DIALOG see each dialog before it.
class MainWindowFixture::DialogCatcher : public wxModalDialogHook {
 public:
  explicit DialogCatcher(MainWindowFixture& owner) : owner_(owner) { Register(); }
  ~DialogCatcher() override { Unregister(); }

 protected:
  int Enter(wxDialog* dialog) override {
    if (auto* box = dynamic_cast<wxMessageDialog*>(dialog)) {
      owner_.messages_.push_back(WxToGbk(box->GetMessage()));
      if (owner_.answers_.empty()) return wxID_OK;
      const int answer = owner_.answers_.front();
      owner_.answers_.pop_front();
      return answer;
    }
    ADD_FAILURE() << "unexpected modal dialog \"" << dialog->GetTitle().utf8_string() << "\"";
    return wxID_CANCEL;
  }
  void Exit(wxDialog*) override {}

 private:
  MainWindowFixture& owner_;
};

MainWindowFixture::MainWindowFixture() = default;

MainWindowFixture::~MainWindowFixture() = default;

void MainWindowFixture::SetUp() {
  std::filesystem::create_directories(program_ / "CDROM");
  saved_cwd_ = std::filesystem::current_path().string();
  std::filesystem::current_path(program_.path());
  previous_assert_handler_ = wxSetAssertHandler(FailOnAssert);
  catcher_ = std::make_unique<DialogCatcher>(*this);
}

void MainWindowFixture::TearDown() {
  DestroyForm();
  catcher_.reset();
  wxSetAssertHandler(previous_assert_handler_);
  std::filesystem::current_path(saved_cwd_);
}

void MainWindowFixture::WriteCatalogue(const std::string& bytes) { WriteBytes(CataloguePath(), bytes); }

void MainWindowFixture::UseSeparateWorkFolder() {
  work_ = std::make_unique<TempDir>();
  std::filesystem::current_path(work_->path());
}

std::string MainWindowFixture::WorkFolder() const { return work_ ? work_->path() : program_.path(); }

TForm1& MainWindowFixture::StartForm() {
  DestroyForm();
  TForm1Options options;
  options.program_folder = NativeNameToGbk(program_.path());
  options.drives = drives_;
  options.settings_file = SettingsFile();
  options.exit_process = [this](int status) { exit_status_ = status; };
  form_ = new TForm1(std::move(options));
  form_->popup_menu = [this](wxMenu& menu, const wxPoint& screen) { popups_.push_back({&menu, screen}); };
  // The virtual display has no window manager: once the previous window is
  // gone, keyboard focus follows the pointer, and a new window under the
  // pointer is active before Raise gives it the focus outright. That
  // hand-over deactivates and reactivates the window whenever the server
  // gets to it, and a label editor open at that moment loses the focus and
  // closes. So the pointer stays off the window until the focus is its own.
  const wxSize screen = wxGetDisplaySize();
  wxUIActionSimulator().MouseMove(screen.x - 1, screen.y - 1);
  Flush();
  form_->Show();
  form_->Raise();
  const wxLongLong deadline = wxGetLocalTimeMillis() + 3000;
  while (!form_->IsActive() && wxGetLocalTimeMillis() < deadline) {
    Flush();
    wxMilliSleep(1);
  }
  Flush();
  return *form_;
}

void MainWindowFixture::DestroyForm() {
  if (form_ == nullptr) return;
  delete form_;
  form_ = nullptr;
  Flush();
}

void MainWindowFixture::Flush() {
  for (int i = 0; i < 5; ++i) {
    wxYield();
    wxTheApp->ProcessPendingEvents();
    if (!wxTheApp->ProcessIdle()) break;
  }
}

}  // namespace movra::test
