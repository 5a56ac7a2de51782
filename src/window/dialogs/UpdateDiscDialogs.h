// The two dialogs of Update disc: TUpdateSource asks where the disc's new
// content is (a drive or folder, or a disc image file); TUpdateDisc shows
// what changed against the catalogued snapshot and asks whether to replace it.
#pragma once

#include <string>
#include <string_view>

#include <wx/dialog.h>
#include <wx/listctrl.h>

#include "snapshot/SnapshotDiff.h"

class wxButton;
class wxStaticText;
class wxTextCtrl;

namespace movra {

class DriveMap;

// Asks for the source to scan; Accepted() once 确定 was pressed.
class TUpdateSource : public wxDialog {
 public:
  // A dialog for the disc disc_name (GBK); drives shows chosen folders and
  // images as drive paths and must outlive the dialog.
  TUpdateSource(wxWindow* parent, const DriveMap& drives, std::string_view disc_name);

  // The source as the scan takes it (ScanSourceOf): a drive path with a trailing backslash; empty when none.
  std::string Source() const;

  // 选择光驱: the folder picker; its answer goes into the path field.
  void Button1Click();
  // 选择映像: the image chooser; its answer goes into the path field.
  void Button2Click();
  // 确定: accepts the source and closes the dialog.
  void BitBtn2Click();
  // True once 确定 was pressed.
  bool Accepted() const { return accepted_; }

  wxButton* Button1 = nullptr;  // 选择光驱
  wxButton* Button2 = nullptr;  // 选择映像
  wxTextCtrl* Edit1 = nullptr;  // the source
  wxButton* BitBtn2 = nullptr;  // 确定, enabled while the path field holds text
  wxButton* BitBtn1 = nullptr;  // 取消

 private:
  // How the field shows a picked native path: as its drive path when it has one.
  wxString Shown(const std::string& native) const;

  const DriveMap& drives_;
  bool accepted_ = false;
};

// The changes, one row each, in a virtual report list: 变化, 路径, 大小, 修改时间.
class ChangeListCtrl : public wxListCtrl {
 public:
  // A list over diff, which must outlive it.
  ChangeListCtrl(wxWindow* parent, const SnapshotDiff& diff);
  // The text of one cell (the view asks only for rows it shows).
  wxString OnGetItemText(long item, long column) const override;

 private:
  const SnapshotDiff& diff_;
};

// Shows the counts and the list of changes; Accepted() once 确定 was pressed.
class TUpdateDisc : public wxDialog {
 public:
  // A dialog over diff (which must outlive it) for the disc disc_name (GBK).
  TUpdateDisc(wxWindow* parent, std::string_view disc_name, const SnapshotDiff& diff);

  wxStaticText* Label1 = nullptr;       // the counts
  ChangeListCtrl* ListView1 = nullptr;  // the changes
  wxButton* BitBtn2 = nullptr;          // 确定: replace the snapshot
  wxButton* BitBtn1 = nullptr;          // 取消: leave everything

  // 确定: the snapshot is to be replaced; closes the dialog.
  void BitBtn2Click();
  // 取消: closes the dialog; nothing is to change.
  void BitBtn1Click();
  // True once 确定 was pressed.
  bool Accepted() const { return accepted_; }

  // The counts line: 新增 N 项，删除 N 项，更改 N 项 (GBK).
  static std::string CountsText(const SnapshotDiff& diff);

 private:
  bool accepted_ = false;
};

}  // namespace movra
