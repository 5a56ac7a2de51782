// Column sorting of the content list: a click on a column header and the
// arrange commands of the View menu and of the list's context menu.
#include "window/app/ContentViewParts.h"
#include "browse/ColumnSort.h"

namespace movra {
namespace {

// Re-orders the listing by a column; the disc page and a category's empty
// list are never sorted, and then the direction flag keeps its value.
void SortByColumn(TForm1& form, ColumnSorter& sorter, int column) {
  if (form.ContentState().showing_hint) return;  // the hint reads in its own order
  const ShownNodeKind kind = contentview::SelectedKind(form);
  const bool categoryOrDisc = kind == ShownNodeKind::Category || kind == ShownNodeKind::Disc;
  ContentListCtrl::Quiet quiet(*form.ListView1);
  if (sorter.Sort(form.ListView1->Model(), form.ListView1->ColumnCaption(column), form.Icons().FolderIconIndex(),
                  categoryOrDisc)) {
    form.ListView1->RefreshFromModel();
    // The sort just made was ascending when the next one comes out reversed.
    form.ListView1->ShowSortArrow(column, sorter.NextIsReversed());
  }
}

}  // namespace

void TForm1::ListView1ColumnClick(wxCommandEvent& event) { SortByColumn(*this, browse_.sorter, event.GetInt()); }

// The arrange commands sort by the column their caption names.
void TForm1::N65Click() { SortByColumn(*this, browse_.sorter, ArrangeColumn(ArrangeCommand::ByName)); }
void TForm1::N68Click() { SortByColumn(*this, browse_.sorter, ArrangeColumn(ArrangeCommand::ByType)); }
void TForm1::N66Click() { SortByColumn(*this, browse_.sorter, ArrangeColumn(ArrangeCommand::BySize)); }
void TForm1::N67Click() { SortByColumn(*this, browse_.sorter, ArrangeColumn(ArrangeCommand::ByDate)); }
void TForm1::N29Click() { N65Click(); }
void TForm1::N30Click() { N68Click(); }
void TForm1::N31Click() { N66Click(); }
void TForm1::N32Click() { N67Click(); }

}  // namespace movra
