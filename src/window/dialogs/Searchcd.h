// The find dialog: what to look for, where (a category, a disc or the whole
// catalogue, picked in a tree preset with the main window's current node)
// and how (case, wildcards). It only collects the request; the search command
// reads it when the dialog was closed with 开始.
#pragma once

#include <string>
#include <string_view>

#include <wx/dialog.h>

class wxButton;
class wxCheckBox;
class wxStaticBox;
class wxStaticText;
class wxTextCtrl;

namespace movra {

class CatalogueDocument;
class CategoryTreeCtrl;

class TFindFile : public wxDialog {
 public:
  // Builds the dialog: a tree of the whole catalogue under the root 全部.
  TFindFile(wxWindow* parent, const CatalogueDocument& doc);

  // Presets the location: a catalogue path and whether it names a disc.
  void SetLocation(std::string_view path, bool is_disc);

  // What the search command reads after the dialog closes.

  // True when the dialog was closed with 开始.
  bool Started() const { return started_; }
  // The search text exactly as typed (GBK, not trimmed).
  std::string SearchText() const;
  // The location's catalogue path.
  std::string LocationPath() const;
  // True when the location is a disc rather than a category.
  bool LocationIsDisc() const { return location_is_disc_; }
  // 区分大小写.
  bool CaseSensitive() const;
  // 完全匹配: '*' and '?' are ordinary characters.
  bool LiteralMatch() const;
  // How many tree clicks and selection changes have reached the location rule.
  int SelectionCount() const { return selection_count_; }

  // Handlers, named after the form's controls.

  // A click in the tree or a change of its selection: the selected node
  // becomes the location, except that the very first event, when it only
  // selects the root, keeps the preset location.
  void tv1Click();
  // 开始: sets the start flag and closes the dialog.
  void btn2Click();
  // 取消: closes the dialog.
  void btn1Click();

  CategoryTreeCtrl* tv1 = nullptr;
  wxStaticBox* GroupBox1 = nullptr;  // 查找选项
  wxTextCtrl* edt1 = nullptr;        // 查找内容
  wxTextCtrl* edt2 = nullptr;        // 查找位置 (read-only)
  wxStaticText* NoteLabel = nullptr; // the wildcard note
  wxCheckBox* CheckBox1 = nullptr;   // 区分大小写
  wxCheckBox* CheckBox2 = nullptr;   // 完全匹配
  wxButton* btn1 = nullptr;          // 取消
  wxButton* btn2 = nullptr;          // 开始

 private:
  void CreateControls();
  // The tree: 全部 and below it the catalogue as the main window shows it.
  void FillTree(const CatalogueDocument& doc);

  bool started_ = false;
  int selection_count_ = 0;
  bool location_is_disc_ = false;
};

}  // namespace movra
