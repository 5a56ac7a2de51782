// Handlers whose features are not built yet. Each group moves to the file of
// its feature; until then a command does nothing and an event keeps its usual
// processing.
#include "app/TForm1.h"

namespace movra {

// Content view.
void TForm1::TreeView1Change(wxTreeEvent&) {}
void TForm1::TreeView1Expanding(wxTreeEvent&) {}
void TForm1::ListView1Change(wxCommandEvent&) {}
void TForm1::ListView1DblClick(wxCommandEvent&) {}

// Column sorting and the arrange commands.
void TForm1::ListView1ColumnClick(wxCommandEvent&) {}
void TForm1::N65Click() {}
void TForm1::N68Click() {}
void TForm1::N66Click() {}
void TForm1::N67Click() {}
void TForm1::N29Click() {}
void TForm1::N30Click() {}
void TForm1::N31Click() {}
void TForm1::N32Click() {}

// Navigation history.
void TForm1::TreeView1Changing(wxTreeEvent&) {}
void TForm1::ToolButton1Click() {}
void TForm1::ToolButton13Click() {}
void TForm1::BackItemClick(int) {}
void TForm1::ForwardItemClick(int) {}
void TForm1::PageControl1Change(wxBookCtrlEvent& event) { event.Skip(); }

// Category operations.
void TForm1::G1Click() {}
void TForm1::N9Click() {}
void TForm1::M1Click() {}
void TForm1::TreeView1Edited(wxTreeEvent&) {}
void TForm1::N19Click() {}
void TForm1::N42Click() {}
void TForm1::N43Click() {}
void TForm1::N63Click() {}
void TForm1::N47Click() {}
void TForm1::ToolButton12Click() {}

// Search.
void TForm1::ToolButton10Click() {}
void TForm1::N50Click() {}
void TForm1::N12Click() {}
void TForm1::Splitter2Moved(wxSplitterEvent& event) { event.Skip(); }
void TForm1::Splitter2CanResize(wxSplitterEvent& event) { event.Skip(); }
void TForm1::ListView2ContextMenu(wxContextMenuEvent&) {}

// Command map.
void TForm1::ToolButton2Click() {}
void TForm1::ToolButton3Click() {}
void TForm1::ToolButton4Click() {}
void TForm1::ToolButton5Click() {}
void TForm1::ToolButton11Click() {}
void TForm1::N52Click() {}
void TForm1::N53Click() {}
void TForm1::L1Click() {}
void TForm1::D1Click() {}
void TForm1::N20Click() {}
void TForm1::N21Click() {}
void TForm1::N22Click() {}
void TForm1::N23Click() {}
void TForm1::N46Click() {}
void TForm1::I2Click() {}
void TForm1::N7Click() {}
void TForm1::N8Click() {}
void TForm1::N3Click() {}
void TForm1::N18Click() {}
void TForm1::N60Click() {}
void TForm1::N40Click() {}
void TForm1::TreeView1Click(wxMouseEvent& event) { event.Skip(); }
void TForm1::ListView1ContextMenu(wxContextMenuEvent&) {}
void TForm1::FormKeyDown(wxKeyEvent& event) { event.Skip(); }

}  // namespace movra
