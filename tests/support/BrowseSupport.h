// Helpers for window tests of browsing: snapshot files written into the
// program folder's CDROM/, the content list and status bar read back as
// UTF-8, and tree nodes found by their texts.
#pragma once

#include <string>
#include <vector>

#include "window/app/TForm1.h"
#include "window/controls/CategoryTrees.h"
#include "platform/DateTime.h"
#include "platform/TextCodec.h"
#include "window/controls/WxText.h"
#include "snapshot/SnapshotFile.h"
#include "support/MainWindowFixture.h"

namespace movra::test {

// One entry of a test snapshot: folder key, name, size (-1 for a folder) and year.
struct TestEntry {
  const char* key;   // UTF-8, e.g. "E:\\VIDEO\\"
  const char* name;  // UTF-8
  long long size;    // bytes; -1 makes the entry a folder
  int year = 2006;   // modification year (3 March, 9:07:02)
};

// Writes program folder/CDROM/<disc>.cdg (disc in UTF-8) holding the entries.
inline void WriteTestSnapshot(const std::string& programFolder, const char* disc, const std::vector<TestEntry>& entries) {
  SnapshotIndex index;
  for (const TestEntry& e : entries) {
    const DateTime when = EncodeDateTime({e.year, 3, 3, 9, 7, 2});
    if (e.size < 0)
      index.AddFolder(Gbk(e.key), Gbk(e.name), when, 0);
    else
      index.AddFile(Gbk(e.key), Gbk(e.name), when, e.size);
  }
  ASSERT_TRUE(WriteSnapshot(index, programFolder + "/CDROM/" + disc + ".cdg"));
}

// The captions of the content list, in list order, as UTF-8 joined by blanks.
inline std::string ListCaptions(const TForm1& form) {
  std::string out;
  for (const ListRow& row : form.ListView1->Model().Rows()) {
    if (!out.empty()) out += ' ';
    out += GbkToUtf8(row.caption);
  }
  return out;
}

// Status panel i (0 or 1) as UTF-8.
inline std::string Panel(const TForm1& form, int i) { return form.StatusBar1->GetStatusText(i).utf8_string(); }

// The node a path of UTF-8 texts names, from the top level down; invalid when any is missing.
inline wxTreeItemId NodeAt(const wxTreeCtrl& tree, const std::vector<const char*>& texts) {
  wxTreeItemId node = FirstTopNode(tree);
  for (std::size_t i = 0; i < texts.size(); ++i) {
    node = FindSiblingByText(tree, node, Gbk(texts[i]));
    if (!node.IsOk() || i + 1 == texts.size()) return node;
    wxTreeItemIdValue cookie;
    node = tree.GetFirstChild(node, cookie);
  }
  return wxTreeItemId();
}

// The texts of a node's children, in order, as UTF-8 joined by blanks.
inline std::string ChildNodeTexts(const wxTreeCtrl& tree, const wxTreeItemId& node) {
  std::string out;
  wxTreeItemIdValue cookie;
  for (wxTreeItemId child = tree.GetFirstChild(node, cookie); child.IsOk(); child = tree.GetNextChild(node, cookie)) {
    if (!out.empty()) out += ' ';
    out += GbkToUtf8(NodeText(tree, child));
  }
  return out;
}

// Number of nodes below node (all levels).
inline int CountBelow(const wxTreeCtrl& tree, const wxTreeItemId& node) {
  int count = 0;
  wxTreeItemIdValue cookie;
  for (wxTreeItemId child = tree.GetFirstChild(node, cookie); child.IsOk(); child = tree.GetNextChild(node, cookie))
    count += 1 + CountBelow(tree, child);
  return count;
}

// The main window fixture with browsing's steps.
class BrowseFixture : public MainWindowFixture {
 protected:
  // Selects a node as a click would, then lets pending events run.
  static void Select(wxTreeCtrl& tree, const wxTreeItemId& node) {
    ASSERT_TRUE(node.IsOk());
    tree.SelectItem(node);
    Flush();
  }
  // Shows a tab of the left pane (0 categories, 1 discs) as a click on it would.
  static void ShowTab(TForm1& form, int tab) {
    form.PageControl1->SetSelection(tab);
    Flush();
  }
};

}  // namespace movra::test
