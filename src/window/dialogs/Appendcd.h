// The Add-disc dialog: the user picks a drive or folder, names and dates the
// disc, writes a memo and picks a category. The dialog only collects the
// input; the add-disc command checks it and shows the dialog again, with the
// input intact, until it is acceptable or the user cancels.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include <wx/dialog.h>

#include "workflows/AddDisc.h"

class wxButton;
class wxStaticBox;
class wxStaticText;
class wxTextCtrl;

namespace movra {

class CatalogueDocument;
class CategoryTreeCtrl;
class DriveMap;

class TAppend : public wxDialog {
 public:
  // Reads the label and serial of the volume of a drive text ("E:"); false
  // when they cannot be read.
  using VolumeReader = movra::VolumeReader;

  // Builds the dialog over the catalogue's categories. drives shows chosen
  // folders as drive paths and, unless SetVolumeReader replaces it, answers
  // the volume queries; it must outlive the dialog.
  TAppend(wxWindow* parent, const CatalogueDocument& doc, const DriveMap& drives);

  // Replaces the volume information source (tests give a fixed label and serial).
  void SetVolumeReader(VolumeReader reader) { read_volume_ = std::move(reader); }

  // What the add-disc command reads after the dialog closes.

  // True once 确定 was pressed and until ClearAccepted.
  bool Accepted() const { return accepted_; }
  // Forgets the acceptance before the dialog is shown again.
  void ClearAccepted() { accepted_ = false; }
  // The scan path field as typed (GBK).
  std::string ScanPathText() const;
  // The scan path field as typed (UTF-8): a native path in it is still whole.
  std::string ScanPathUtf8() const;
  // The scan path with a trailing backslash ("E:\VIDEO\"); empty when the field is.
  std::string ScanPath() const;
  // The disc name field as typed.
  std::string DiscNameText() const;
  // The disc name with every character outside the name rules removed.
  std::string DiscName() const;
  // The date field as typed.
  std::string DateText() const;
  // The category path chosen in the tree ("A\B\"), empty before a choice.
  std::string CategoryPath() const;
  // The memo field's lines.
  std::vector<std::string> MemoLines() const;
  // The memo as stored: every line followed by "nbsp".
  std::string Memo() const;
  // The 排除 field as typed (UTF-8): patterns separated by ';'.
  std::string ExclusionText() const;
  // Puts a remembered text into the 排除 field.
  void SetExclusionText(const std::string& utf8);

  // Handlers, named after the form's controls.

  // Fills the tree (categories only), expands it and empties the memo.
  void FormCreate();
  // 选择光驱: the folder picker; its answer (or empty when cancelled) goes
  // into the scan path field, then Edit1Exit runs.
  void Button1Click();
  // 选择映像: the open-file chooser for a disc image; its answer (as a drive
  // path) goes into the scan path field, then Edit1Exit runs. Cancelling
  // leaves the field as it was.
  void Button2Click();
  // Leaving the scan path field: a native path becomes a drive path, and
  // name, date and memo are proposed from the volume, the folder or the disc
  // image the field names.
  void Edit1Exit();
  // A click in the tree: the selected node's catalogue path goes into Edit4.
  void TreeView1Click();
  // The tree's selection changed: as TreeView1Click.
  void TreeView1Change() { TreeView1Click(); }
  // 确定: marks the input accepted and closes the dialog.
  void BitBtn2Click();
  // 取消: closes the dialog; the accepted flag stays as it is.
  void BitBtn1Click();

  CategoryTreeCtrl* TreeView1 = nullptr;
  wxStaticBox* GroupBox1 = nullptr;  // 选项
  wxButton* Button1 = nullptr;       // 选择光驱
  wxButton* Button2 = nullptr;       // 选择映像
  wxTextCtrl* Edit1 = nullptr;       // scan path
  wxTextCtrl* Edit2 = nullptr;       // 光盘名称
  wxStaticText* Label1 = nullptr;    // the name rules
  wxTextCtrl* Edit3 = nullptr;       // 入库时间
  wxTextCtrl* Edit4 = nullptr;       // 光盘分类
  wxTextCtrl* RichEdit1 = nullptr;   // 光盘备注
  wxTextCtrl* Edit5 = nullptr;       // 排除: names the scan leaves out
  wxButton* BitBtn2 = nullptr;       // 确定
  wxButton* BitBtn1 = nullptr;       // 取消

 private:
  void CreateControls();
  // A native path in the scan path field (UTF-8) as a drive path (GBK);
  // nullopt for any other text and for a path that cannot be recorded, which
  // stays as typed so that the command can name its fault.
  std::optional<std::string> DriveFormOf(const std::string& utf8) const;

  const CatalogueDocument& doc_;
  const DriveMap& drives_;
  VolumeReader read_volume_;
  bool accepted_ = false;
  // The scan path the proposals were last made from; leaving the field
  // without changing it keeps what the user has typed since.
  std::string proposed_for_;
};

}  // namespace movra
