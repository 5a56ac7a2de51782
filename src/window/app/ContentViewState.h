// What the content view remembers between selections: which disc's snapshot
// is loaded, the user's view style while category or disc content forces the
// details style, and the two flags that order nested tree notifications.
#pragma once

#include <optional>
#include <string>

#include "platform/FileStamp.h"

#include "window/controls/ContentListCtrl.h"

namespace movra {

struct ContentViewState {
  // The disc whose snapshot is in the snapshot index (GBK).
  std::string loaded_disc_name;
  // The stamp of that disc's snapshot file as it was read, to notice its replacement.
  std::optional<FileStamp> loaded_snapshot_stamp;
  // Catalogue path of the node for which a snapshot was last loaded or looked at.
  std::string loaded_node_path;
  // The user's view style, kept while the details style is forced.
  ListViewStyle remembered_style = ListViewStyle::LargeIcons;
  // Set while the details style is forced; remembered_style is then left alone.
  bool style_remembered = false;
  // Set by the expansion handler just before it runs the dispatcher.
  bool expanding = false;
  // Set by a double-click entry; suppresses one expansion-triggered refresh.
  bool double_clicked = false;
  // True while the content list shows the first-start hint.
  bool showing_hint = false;
  // The folder key the content list lists ("E:\VIDEO\"); empty for other content.
  std::string listed_folder;
};

}  // namespace movra
