// Helpers of the catalogue-editing window tests: scripts that stand in for
// the modal dialogs of the workflows, answers for the two pickers, a tray
// recorder, a small catalogue with snapshot files, and file-time helpers.
#pragma once

#include <ctime>
#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <wx/dialog.h>

#include "support/System.h"
#include "window/controls/CategoryTrees.h"
#include "window/app/AddDiscCommand.h"
#include "window/dialogs/FolderPicker.h"
#include "window/dialogs/ModalDialogs.h"
#include "window/dialogs/OpenFilePicker.h"
#include "platform/TextCodec.h"
#include "support/TempDir.h"

namespace movra::test {

// Runs one script per dialog the workflow shows, in order, instead of a
// modal loop. A script fills fields and presses a button; a dialog shown
// with no script left fails the test and counts as cancelled.
class ScriptedDialogs {
 public:
  ScriptedDialogs() {
    SetDialogRunner([this](wxDialog& dialog) { return Run(dialog); });
  }
  ~ScriptedDialogs() { SetDialogRunner({}); }
  ScriptedDialogs(const ScriptedDialogs&) = delete;
  ScriptedDialogs& operator=(const ScriptedDialogs&) = delete;

  // Queues a script for the next dialog, which must be a Dialog.
  template <typename Dialog>
  void Then(std::function<void(Dialog&)> script) {
    scripts_.push_back([script](wxDialog& shown) {
      auto* dialog = dynamic_cast<Dialog*>(&shown);
      ASSERT_NE(dialog, nullptr) << "another dialog than the script expects";
      script(*dialog);
    });
  }
  // How many times a dialog was shown.
  int Shown() const { return shown_; }
  // True when every script has run.
  bool Done() const { return scripts_.empty(); }

 private:
  int Run(wxDialog& dialog) {
    ++shown_;
    if (scripts_.empty()) {
      ADD_FAILURE() << "dialog \"" << dialog.GetTitle().utf8_string() << "\" shown with no script left";
      return wxID_CANCEL;
    }
    auto script = std::move(scripts_.front());
    scripts_.pop_front();
    script(dialog);
    return wxID_OK;
  }

  std::deque<std::function<void(wxDialog&)>> scripts_;
  int shown_ = 0;
};

// Answers the folder picker while it lives.
class AnsweringFolderPicker : public FolderPicker {
 public:
  AnsweringFolderPicker() { SetFolderPicker(this); }
  ~AnsweringFolderPicker() override { SetFolderPicker(nullptr); }
  std::optional<std::string> ChooseFolder(wxWindow*, std::string_view gbk_caption) override {
    captions.emplace_back(gbk_caption);
    return answer;
  }
  std::optional<std::string> answer;  // GBK native path, or nullopt for a cancel
  std::vector<std::string> captions;  // one per question
};

// Answers the open-file dialog while it lives.
class AnsweringFilePicker : public OpenFilePicker {
 public:
  AnsweringFilePicker() { SetOpenFilePicker(this); }
  ~AnsweringFilePicker() override { SetOpenFilePicker(nullptr); }
  std::optional<std::string> ChooseFile(wxWindow*, std::string_view wildcard_text) override {
    wildcard = wildcard_text;
    return answer;
  }
  std::optional<std::pair<std::string, int>> ChooseSaveFile(wxWindow*, std::string_view wildcard_text,
                                                            std::string_view name_text) override {
    wildcard = wildcard_text;
    name = name_text;
    return save_answer;
  }
  std::optional<std::string> answer;  // GBK native path, or nullopt for a cancel
  std::optional<std::pair<std::string, int>> save_answer;  // the file to write and the type chosen
  std::string wildcard;
  std::string name;  // the name a save offered
};

// Records the trays Add disc opens while it lives.
class TrayRecorder {
 public:
  TrayRecorder() {
    SetTrayOpener([this](const DriveMap&, std::string_view drive) { opened.emplace_back(drive); });
  }
  ~TrayRecorder() { SetTrayOpener({}); }
  std::vector<std::string> opened;
};

// Main categories 影视 (sub-categories 电影 with the discs Star and Moon, 剧集
// with Sun and Sky, and the disc Loose filed directly), Music (empty
// sub-categories Rock and Jazz) and the empty Work.
inline constexpr const char* kEditingCatalogue =
    "<?xml version=\"1.0\" encoding=\"utf-8\"?>"
    "<root><CDLIST>"
    "<T_影视> <T_电影> <D_Star><Title>Star</Title><Time>2006/3/3</Time></D_Star>"
    "<D_Moon><Title>Moon</Title></D_Moon></T_电影>"
    "<T_剧集> <D_Sun><Title>Sun</Title></D_Sun><D_Sky><Title>Sky</Title></D_Sky></T_剧集>"
    "<D_Loose><Title>Loose</Title></D_Loose></T_影视>"
    "<T_Music> <T_Rock> </T_Rock><T_Jazz> </T_Jazz></T_Music>"
    "<T_Work> </T_Work>"
    "</CDLIST></root>";

// The discs of kEditingCatalogue.
inline const std::vector<std::string> kEditingDiscs{"Loose", "Moon", "Sky", "Star", "Sun"};

// A small snapshot of a disc: one folder holding one file, on drive E:.
inline std::string SnapshotBytesOf(const std::string& disc) {
  return "E:\\" + disc + "\\A.TXT[5]2006/3/3 9:07:02\r\nE:\\|" + disc + "[]2006/3/3\r\n";
}

// The texts (GBK) of item's children, in tree order (item invalid: the top-level nodes).
inline std::vector<std::string> TextsBelow(const wxTreeCtrl& tree, wxTreeItemId item = wxTreeItemId()) {
  if (!item.IsOk()) item = tree.GetRootItem();
  std::vector<std::string> texts;
  wxTreeItemIdValue cookie;
  for (wxTreeItemId child = tree.GetFirstChild(item, cookie); child.IsOk(); child = tree.GetNextChild(item, cookie))
    texts.push_back(NodeText(tree, child));
  return texts;
}

// The node reached from the top through node texts (UTF-8), or an invalid id.
inline wxTreeItemId NodeByTexts(const wxTreeCtrl& tree, const std::vector<std::string>& utf8_texts) {
  wxTreeItemId node = tree.GetRootItem();
  for (const std::string& text : utf8_texts) {
    const std::string gbk = Utf8ToGbk(text);
    wxTreeItemIdValue cookie;
    wxTreeItemId child = tree.GetFirstChild(node, cookie);
    while (child.IsOk() && NodeText(tree, child) != gbk) child = tree.GetNextChild(node, cookie);
    if (!child.IsOk()) return child;
    node = child;
  }
  return node;
}

// Sets a native path's last-write time to a local time.
inline void SetModified(const std::string& path, int year, int month, int day, int hour, int minute, int second) {
  std::tm local{};
  local.tm_year = year - 1900;
  local.tm_mon = month - 1;
  local.tm_mday = day;
  local.tm_hour = hour;
  local.tm_min = minute;
  local.tm_sec = second;
  local.tm_isdst = -1;
  ASSERT_TRUE(SetTimes(path, std::mktime(&local))) << path;
}

// Fills a folder as the small medium the add-disc tests scan: folder A
// holding F.TXT, and R.TXT in its root, each with a known time.
inline void WriteSmallMedium(const TempDir& medium) {
  WriteBytes(medium / "A/F.TXT", "abc");
  WriteBytes(medium / "R.TXT", "xy");
  SetModified(medium / "A/F.TXT", 2006, 3, 3, 9, 7, 4);
  SetModified(medium / "A", 2006, 3, 3, 9, 7, 2);
  SetModified(medium / "R.TXT", 2007, 1, 2, 0, 0, 0);
}

// The drive path of a native folder on Z: ("/tmp/x" gives "Z:\tmp\x\").
inline std::string ZPathOf(const std::string& native) {
  std::string path = "Z:" + native + "/";
  for (char& c : path) c = c == '/' ? '\\' : c;
  return path;
}

}  // namespace movra::test
