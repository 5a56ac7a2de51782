#include "window/controls/TreeImages.h"

#include <algorithm>
#include <initializer_list>

#include <wx/artprov.h>
#include <wx/image.h>
#include <wx/imaglist.h>

#include "window/platform/IconArt.h"

namespace movra {
namespace {

constexpr int kSize = 16;

// The first of the ids the toolkit has art for (not every build has every
// image: wxMSW without its help viewer lacks the book); a transparent image
// when none, rather than an uninitialised, black one.
wxBitmap Art(std::initializer_list<wxArtID> ids) {
  for (const wxArtID& id : ids) {
    const wxBitmap bitmap = wxArtProvider::GetBitmap(id, wxART_OTHER, wxSize(kSize, kSize));
    if (bitmap.IsOk()) return Sized(bitmap, kSize);
  }
  wxImage blank(kSize, kSize);
  blank.InitAlpha();
  std::fill_n(blank.GetAlpha(), kSize * kSize, wxIMAGE_ALPHA_TRANSPARENT);
  return wxBitmap(blank);
}

}  // namespace

wxImageList* CreateTreeImages() {
  auto* images = new wxImageList(kSize, kSize, true, 16);
  images->Add(Art({wxART_HELP_BOOK, wxART_ADD_BOOKMARK}));  // 0 category
  images->Add(Art({wxART_CDROM}));                          // 1 disc
  images->Add(Art({wxART_REMOVABLE}));                      // 2 (no node uses it)
  images->Add(Art({wxART_HARDDISK}));                       // 3 root folder of a disc
  images->Add(Art({wxART_FOLDER}));                         // 4 folder
  const wxArtID rest[] = {wxART_FOLDER_OPEN, wxART_NORMAL_FILE, wxART_EXECUTABLE_FILE, wxART_NEW_DIR,
                          wxART_GO_DIR_UP,   wxART_FIND,        wxART_DELETE,          wxART_REDO,
                          wxART_INFORMATION, wxART_LIST_VIEW,   wxART_REPORT_VIEW};
  for (const wxArtID& id : rest) images->Add(Art({id}));
  return images;
}

}  // namespace movra
