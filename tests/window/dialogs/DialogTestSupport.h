// Helpers of the dialog window tests: a small catalogue opened from a
// temporary file, and running the event loop's pending work.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include <wx/app.h>
#include <wx/treectrl.h>

#include "catalog/CatalogueDocument.h"
#include "window/controls/CategoryTreeCtrl.h"
#include "support/TempDir.h"

namespace movra::test {

// Main categories 影视 (sub-category 电影 holding the disc Star, and the disc
// Loose filed directly), Music (sub-categories Rock and Jazz, Jazz holding the
// disc Blue whose element has no Title), and the disc Stray directly in CDLIST.
inline constexpr const char* kSampleCatalogue =
    "<?xml version=\"1.0\" encoding=\"utf-8\"?>"
    "<root><CDLIST>"
    "<T_影视> <T_电影> <D_Star><Title>Star</Title><Time>2006/3/3</Time></D_Star></T_电影>"
    "<D_Loose><Title>Loose</Title></D_Loose></T_影视>"
    "<T_Music> <T_Rock> </T_Rock><T_Jazz> <D_Blue><Time>2006/3/3</Time></D_Blue></T_Jazz></T_Music>"
    "<D_Stray><Title>Stray</Title></D_Stray>"
    "</CDLIST></root>";

// GBK texts of the sample.
inline const std::string kFilm = "\xD3\xB0\xCA\xD3";   // 影视
inline const std::string kMovie = "\xB5\xE7\xD3\xB0";  // 电影
inline const std::string kAll = "\xC8\xAB\xB2\xBF";    // 全部

// A catalogue document opened from a temporary Movra.xml.
class SampleCatalogue {
 public:
  explicit SampleCatalogue(const std::string& xml = kSampleCatalogue) {
    WriteBytes(dir_ / "Movra.xml", xml);
    doc_.Open(dir_ / "Movra.xml");
  }
  CatalogueDocument& doc() { return doc_; }

 private:
  TempDir dir_;
  CatalogueDocument doc_;
};

// Runs what the event loop has queued: pending events, calls made with
// CallAfter and one round of idle processing.
inline void Pump() {
  for (int i = 0; i < 3; ++i) {
    wxTheApp->ProcessPendingEvents();
    wxTheApp->ProcessIdle();
  }
  wxTheApp->ProcessPendingEvents();
}

// The node texts (GBK) of item's children, in tree order.
inline std::vector<std::string> ChildTexts(const wxTreeCtrl& tree, const wxTreeItemId& item) {
  std::vector<std::string> texts;
  wxTreeItemIdValue cookie;
  for (wxTreeItemId child = tree.GetFirstChild(item, cookie); child.IsOk(); child = tree.GetNextChild(item, cookie))
    texts.push_back(NodeText(tree, child));
  return texts;
}

// The child of item whose text is gbk, or an invalid id.
inline wxTreeItemId ChildByText(const wxTreeCtrl& tree, const wxTreeItemId& item, const std::string& gbk) {
  wxTreeItemIdValue cookie;
  for (wxTreeItemId child = tree.GetFirstChild(item, cookie); child.IsOk(); child = tree.GetNextChild(item, cookie))
    if (NodeText(tree, child) == gbk) return child;
  return wxTreeItemId();
}

// A left click on a node, as the pointer makes it.
inline void ClickNode(wxTreeCtrl& tree, const wxTreeItemId& item) {
  wxRect rect;
  tree.GetBoundingRect(item, rect, true);
  wxMouseEvent down(wxEVT_LEFT_DOWN);
  down.SetEventObject(&tree);
  down.SetPosition(rect.GetPosition() + wxPoint(rect.width / 2, rect.height / 2));
  down.SetLeftDown(true);
  tree.GetEventHandler()->ProcessEvent(down);
  wxMouseEvent up(wxEVT_LEFT_UP);
  up.SetEventObject(&tree);
  up.SetPosition(down.GetPosition());
  tree.GetEventHandler()->ProcessEvent(up);
  Pump();
}

}  // namespace movra::test
