// The find dialog: what to look for, where (a category, a disc or the whole
// catalogue, picked in a tree preset with the main window's current node)
// and how (case, wildcards), and under 更多条件 the sizes, modification dates
// and kind an entry found must have. It only collects the request; the
// search command reads it when the dialog was closed with 开始.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include <wx/dialog.h>

#include "search/EntryConditions.h"

class wxButton;
class wxCheckBox;
class wxChoice;
class wxDatePickerCtrl;
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
  // The conditions of 更多条件 as read by 开始.
  const EntryConditions& Conditions() const { return conditions_; }
  // Reads the conditions from the controls; nullopt with message set to
  // what the user is told (GBK) when a size field holds no size.
  std::optional<EntryConditions> ReadConditions(std::string& message) const;
  // Sets the controls to the conditions (a size in the largest unit that holds it whole).
  void SetConditions(const EntryConditions& conditions);
  // How many tree clicks and selection changes have reached the location rule.
  int SelectionCount() const { return selection_count_; }

  // Handlers, named after the form's controls.

  // A click in the tree or a change of its selection: the selected node
  // becomes the location, except that the very first event, when it only
  // selects the root, keeps the preset location.
  void tv1Click();
  // 开始: reads the conditions, sets the start flag and closes the dialog; a
  // size field without a size is named in a message and the dialog stays.
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
  wxStaticBox* GroupBox2 = nullptr;  // 更多条件
  wxTextCtrl* MinSizeEdit = nullptr; // 至少
  wxChoice* MinSizeUnit = nullptr;   // 字节, KB, MB, GB
  wxTextCtrl* MaxSizeEdit = nullptr; // 至多
  wxChoice* MaxSizeUnit = nullptr;
  wxDatePickerCtrl* AfterPicker = nullptr;   // 不早于 (may be unset)
  wxDatePickerCtrl* BeforePicker = nullptr;  // 早于 (may be unset)
  wxChoice* KindChoice = nullptr;    // 全部, 只找文件, 只找文件夹
  wxButton* btn1 = nullptr;          // 取消
  wxButton* btn2 = nullptr;          // 开始

 private:
  void CreateControls();
  // The 更多条件 group, added to sizer.
  void CreateConditionControls(wxSizer& sizer);
  // The tree: 全部 and below it the catalogue as the main window shows it.
  void FillTree(const CatalogueDocument& doc);

  bool started_ = false;
  int selection_count_ = 0;
  bool location_is_disc_ = false;
  EntryConditions conditions_;
};

}  // namespace movra
