// Runs the window tests from the first idle event of a test application, so
// the code under test runs inside a real wxWidgets event loop as it does for
// a user. The exit status is GoogleTest's.
#include <gtest/gtest.h>
#include <wx/app.h>
#include <wx/init.h>

namespace {

class GuiTestApp : public wxApp {
 public:
  bool OnInit() override {
    Bind(wxEVT_IDLE, &GuiTestApp::OnFirstIdle, this);
    return true;
  }
  int OnExit() override { return result_; }
  int result() const { return result_; }

 private:
  void OnFirstIdle(wxIdleEvent&) {
    Unbind(wxEVT_IDLE, &GuiTestApp::OnFirstIdle, this);
    result_ = RUN_ALL_TESTS();
    ExitMainLoop();
  }
  int result_ = 1;
};

}  // namespace

wxIMPLEMENT_APP_NO_MAIN(GuiTestApp);

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  wxApp::SetInstance(new GuiTestApp);
  wxEntryStart(argc, argv);
  int rc = 1;
  if (wxTheApp->CallOnInit()) {
    wxTheApp->OnRun();
    rc = static_cast<GuiTestApp*>(wxTheApp)->result();
  }
  wxEntryCleanup();
  return rc;
}
