// The Import-snapshot dialog: the disc name comes from the chosen file and
// cannot be edited; the user dates the disc, writes a memo and picks a
// category. Like the Add-disc dialog it only collects the input; the import
// command checks it and shows the dialog again until it is acceptable.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include <wx/dialog.h>

#include "platform/DateTime.h"

class wxButton;
class wxStaticBox;
class wxStaticText;
class wxTextCtrl;

namespace movra {

class CatalogueDocument;
class CategoryTreeCtrl;

class TAppIdxFile : public wxDialog {
 public:
  // Builds the dialog over the catalogue's categories.
  TAppIdxFile(wxWindow* parent, const CatalogueDocument& doc);

  // Presets the fields for a file of that stem: the name, the date text of
  // now and the memo template whose label line is the stem.
  void Preset(std::string_view stem, DateTime now);
  // Sets the (read-only) disc name field.
  void SetDiscNameText(std::string_view gbk);
  // Sets the date field.
  void SetDateText(std::string_view gbk);
  // Replaces the memo by lines.
  void SetMemoLines(const std::vector<std::string>& lines);

  // What the import command reads after the dialog closes.

  // True once 开始 was pressed and until ClearAccepted.
  bool Accepted() const { return accepted_; }
  // Forgets the acceptance before the dialog is shown again.
  void ClearAccepted() { accepted_ = false; }
  // The disc name field as set.
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

  // Handlers, named after the form's controls.

  // Fills the tree (categories only), expands it and empties the memo.
  void FormCreate();
  // A click in the tree or a change of its selection: the selected node's
  // catalogue path goes into edt3.
  void tv1Click();
  // 开始: marks the input accepted and closes the dialog.
  void btn2Click();
  // 取消: closes the dialog.
  void btn1Click();

  CategoryTreeCtrl* tv1 = nullptr;
  wxStaticBox* GroupBox1 = nullptr;  // 光盘说明
  wxTextCtrl* edt1 = nullptr;        // 光盘名称 (read-only)
  wxStaticText* Label1 = nullptr;    // the name rules
  wxTextCtrl* edt2 = nullptr;        // 入库时间
  wxTextCtrl* edt3 = nullptr;        // 用途分类
  wxTextCtrl* RichEdit1 = nullptr;   // 光盘备注
  wxButton* btn2 = nullptr;          // 开始
  wxButton* btn1 = nullptr;          // 取消

 private:
  void CreateControls();

  const CatalogueDocument& doc_;
  bool accepted_ = false;
};

}  // namespace movra
