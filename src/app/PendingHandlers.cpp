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

}  // namespace movra
