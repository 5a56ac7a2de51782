// 打开 and 打开所在文件夹 of the content list and the search results: the real
// file or folder of an entry opens with the desktop's own program while its
// disc is present; otherwise the user is told which disc to insert.
#include "window/app/ContentViewParts.h"
#include "window/controls/CategoryTrees.h"
#include "window/controls/WxText.h"
#include "window/dialogs/MessageBox.h"
#include "window/platform/LinkOpener.h"
#include "catalog/ElementNames.h"
#include "platform/TextCodec.h"
#include "search/ResultPlaces.h"
#include "workflows/LiveFile.h"

namespace movra {
void TForm1::OpenLiveEntry(const std::string& disc, const std::string& recorded) {
  const DriveMap& drives = Drives();
  LiveLocation found;
  if (ContentState().loaded_disc_name == disc && !Index().Empty()) {
    // The shown disc's snapshot is in memory already.
    const Element element = Catalogue().FindDiscElement(DiscElementName(disc));
    const std::string memo = CatalogueDocument::ElementText(CatalogueDocument::FindChild(element, "Memo"));
    found = LocateInSnapshot(drives, VolumeReaderOf(drives), disc, memo, Index(), recorded);
  } else {
    Workspace work = Work();
    found = LocateOnDisc(work, drives, VolumeReaderOf(drives), disc, recorded);
  }
  if (!found.result.ok()) {
    ShowInfoBox(this, found.result.message);
    return;
  }
  if (!Links().OpenDocument(wxString::FromUTF8(found.native))) {
    ShowInfoBox(this, Utf8ToGbk("没有程序能够打开“") + Utf8ToGbk(found.native) + Utf8ToGbk("”。"));
  }
}

void TForm1::OpenContentEntry(bool containing_folder) {
  const ShownNodeKind kind = contentview::SelectedKind(*this);
  const ContentViewState& state = ContentState();
  if (kind == ShownNodeKind::Disc) {
    // A disc's page stands for the disc: both open its root.
    const CategoryTreeCtrl* tree = contentview::ActiveTree(*this);
    OpenLiveEntry(NodeText(*tree, SelectedNode(*tree)), std::string());
    return;
  }
  if ((kind != ShownNodeKind::RootFolder && kind != ShownNodeKind::Folder) || state.listed_folder.empty()) return;
  const std::optional<std::size_t> first = ListView1->Model().FirstSelected();
  if (containing_folder || !first) {
    OpenLiveEntry(state.loaded_disc_name, state.listed_folder);
    return;
  }
  OpenLiveEntry(state.loaded_disc_name, state.listed_folder + ListView1->Model().Row(*first).caption);
}

void TForm1::OpenResultEntry(bool containing_folder) {
  const long focused = ListView2->GetNextItem(-1, wxLIST_NEXT_ALL, wxLIST_STATE_SELECTED);
  if (focused < 0) return;
  const ResultPlace place = PlaceOf(ListView2->Rows(), static_cast<std::size_t>(focused));
  if (place.is_group) return;
  if (place.is_header) {
    OpenLiveEntry(place.disc, std::string());
    return;
  }
  OpenLiveEntry(place.disc, containing_folder ? place.folder : place.folder + place.name);
}

}  // namespace movra
