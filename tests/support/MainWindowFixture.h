// A test fixture that runs the real main window in a temporary program folder.
//
//   class MyTest : public movra::test::MainWindowFixture {};
//   TEST_F(MyTest, Something) {
//     WriteCatalogue(Gbk("<?xml version=\"1.0\" encoding=\"gb2312\"?><root><CDLIST>...</CDLIST></root>"));
//     TForm1& form = StartForm();
//     ... drive form's handlers and controls ...
//     EXPECT_TRUE(MessagesShown().empty());
//   }
//
// SetUp makes a program folder with an empty CDROM/ and makes it the current
// folder (restored in TearDown); UseSeparateWorkFolder() moves the current
// folder elsewhere first. While the fixture lives:
// - every message box is answered at once (OK, or the answers queued with
//   AnswerNextBoxWith) and its GBK text recorded in MessagesShown(); a
//   wxTEST_DIALOG inside a test still takes precedence;
// - any other modal dialog that is not expected fails the test and is cancelled;
// - a wxWidgets assertion fails the test instead of opening a dialog;
// - pop-up menus are recorded in Popups() instead of being shown;
// - Close (N38Click) records its exit status in ExitStatus() instead of ending the process.
// TearDown destroys the window.
#pragma once

#include <deque>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <wx/menu.h>

#include "window/app/TForm1.h"
#include "platform/DriveMap.h"
#include "support/TempDir.h"

namespace movra::test {

// A UTF-8 literal as GBK bytes (test data may also be written as byte escapes).
std::string Gbk(const char* utf8);

// A pop-up menu the window asked to show, with the screen point.
struct ShownPopup {
  wxMenu* menu = nullptr;
  wxPoint screen;
};

class MainWindowFixture : public ::testing::Test {
 protected:
  MainWindowFixture();
  ~MainWindowFixture() override;
  void SetUp() override;
  void TearDown() override;

  // Writes Movra.xml (the given bytes) into the current folder.
  void WriteCatalogue(const std::string& bytes);
  // Makes the current folder a fresh folder other than the program folder.
  void UseSeparateWorkFolder();
  // Creates the main window with the program folder and Drives().
  TForm1& StartForm();
  // Destroys the main window (TearDown does it when the test did not).
  void DestroyForm();
  // The main window; StartForm must have run.
  TForm1& Form() { return *form_; }

  // The window's settings file: in the program folder, never the user's (absent until the window writes it).
  std::string SettingsFile() const { return ProgramFolder() + "/config/movra.ini"; }
  // The drives the window gets (only Z: unless a test sets others before StartForm).
  DriveMap& Drives() { return drives_; }
  // The program folder (native path, no trailing slash).
  const std::string& ProgramFolder() const { return program_.path(); }
  // The current folder while the test runs.
  std::string WorkFolder() const;
  // Path of Movra.xml in the current folder.
  std::string CataloguePath() const { return WorkFolder() + "/Movra.xml"; }
  // Path of the backup in the program folder.
  std::string BackupPath() const { return ProgramFolder() + "/Movra.xml.backup"; }

  // Answers the next message box with id (wxID_OK, wxID_YES, wxID_NO).
  void AnswerNextBoxWith(int id) { answers_.push_back(id); }
  // Texts (GBK) of the message boxes shown so far, in order.
  const std::vector<std::string>& MessagesShown() const { return messages_; }
  // Forgets the messages recorded so far.
  void ClearMessages() { messages_.clear(); }
  // Pop-up menus the window opened, in order.
  const std::vector<ShownPopup>& Popups() const { return popups_; }
  // The status Close ended the process with, if it did.
  std::optional<int> ExitStatus() const { return exit_status_; }

  // Runs pending events and idle handlers until nothing is left to do.
  static void Flush();

 private:
  class DialogCatcher;
  friend class DialogCatcher;

  TempDir program_;
  std::unique_ptr<TempDir> work_;
  std::string saved_cwd_;
  DriveMap drives_;
  TForm1* form_ = nullptr;
  std::unique_ptr<DialogCatcher> catcher_;
  std::deque<int> answers_;
  std::vector<std::string> messages_;
  std::vector<ShownPopup> popups_;
  std::optional<int> exit_status_;
  wxAssertHandler_t previous_assert_handler_ = nullptr;
};

}  // namespace movra::test
