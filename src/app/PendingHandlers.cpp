// Handlers whose features are not built yet. Each group moves to the file of
// its feature; until then a command does nothing and an event keeps its usual
// processing.
#include "app/TForm1.h"

namespace movra {

// Search.
void TForm1::ToolButton10Click() {}
void TForm1::N50Click() {}
void TForm1::N12Click() {}
void TForm1::Splitter2Moved(wxSplitterEvent& event) { event.Skip(); }
void TForm1::Splitter2CanResize(wxSplitterEvent& event) { event.Skip(); }
void TForm1::ListView2ContextMenu(wxContextMenuEvent&) {}

// Command map.
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
