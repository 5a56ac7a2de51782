#include "window/dialogs/DialogParts.h"

#include <wx/textctrl.h>

#include "window/controls/CategoryTreeCtrl.h"
#include "window/controls/CategoryTrees.h"
#include "window/controls/TreeImages.h"
#include "workflows/DiscEntry.h"
#include "window/controls/WxText.h"

namespace movra {

CategoryTreeCtrl* CreateDialogTree(wxWindow* parent, wxWindowID id) {
  auto* tree = new CategoryTreeCtrl(parent, id);
  tree->AssignImageList(CreateTreeImages());
  return tree;
}

void FillDialogTree(CategoryTreeCtrl& tree, const CatalogueDocument& doc) {
  FillCategoryTree(tree, doc, FillMode::kDialog);
  tree.ExpandAll();
  const wxTreeItemId first = FirstTopNode(tree);
  if (first.IsOk()) tree.ScrollTo(first);
}

void BindTreeClick(wxTreeCtrl& tree, std::function<void()> on_click) {
  // The tree moves its selection while it handles the press; run afterwards.
  tree.Bind(wxEVT_LEFT_DOWN, [&tree, on_click = std::move(on_click)](wxMouseEvent& event) {
    event.Skip();
    tree.CallAfter(on_click);
  });
}

std::string FieldText(const wxTextCtrl& field) { return WxToGbk(field.GetValue()); }

void SetFieldText(wxTextCtrl& field, std::string_view gbk) { field.ChangeValue(GbkToWx(gbk)); }

std::vector<std::string> FieldLines(const wxTextCtrl& field) { return SplitLines(FieldText(field)); }

void SetFieldLines(wxTextCtrl& field, const std::vector<std::string>& lines) {
  SetFieldText(field, JoinLines(lines));
}

wxBoxSizer* ClosingButtonRow(wxButton* first, wxButton* second) {
  auto* row = new wxBoxSizer(wxHORIZONTAL);
  row->AddStretchSpacer();
  row->Add(first, 0, wxRIGHT, 6);
  row->Add(second, 0);
  return row;
}

}  // namespace movra
