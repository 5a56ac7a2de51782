// Pieces the dialogs share: their category tree, reading and writing text
// fields as GBK, and the memo field's lines.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include <wx/button.h>
#include <wx/sizer.h>
#include <wx/treectrl.h>

class wxTextCtrl;

namespace movra {

class CatalogueDocument;
class CategoryTreeCtrl;

// A tree for a dialog: hidden root, the node images, locale order.
CategoryTreeCtrl* CreateDialogTree(wxWindow* parent, wxWindowID id);

// Fills a dialog's tree with the categories only, expands it fully and
// scrolls to its first node.
void FillDialogTree(CategoryTreeCtrl& tree, const CatalogueDocument& doc);

// Runs on_click after every left click in the tree, once the tree has moved
// its selection, also when the clicked node was selected already.
void BindTreeClick(wxTreeCtrl& tree, std::function<void()> on_click);

// A text field's content as GBK.
std::string FieldText(const wxTextCtrl& field);

// Sets a text field from GBK without sending a change event.
void SetFieldText(wxTextCtrl& field, std::string_view gbk);

// The lines of a multi-line field (GBK).
std::vector<std::string> FieldLines(const wxTextCtrl& field);

// Replaces the content of a multi-line field by lines (GBK).
void SetFieldLines(wxTextCtrl& field, const std::vector<std::string>& lines);

// A row that holds the dialog's two closing buttons at its right end, first then second.
wxBoxSizer* ClosingButtonRow(wxButton* first, wxButton* second);

}  // namespace movra
