#include "window/controls/TreeImages.h"

#include <wx/artprov.h>
#include <wx/image.h>
#include <wx/imaglist.h>

namespace movra {
namespace {

constexpr int kSize = 16;

wxBitmap Art(const wxArtID& id) {
  wxBitmap bitmap = wxArtProvider::GetBitmap(id, wxART_OTHER, wxSize(kSize, kSize));
  if (bitmap.IsOk() && (bitmap.GetWidth() != kSize || bitmap.GetHeight() != kSize)) {
    wxImage image = bitmap.ConvertToImage();
    image.Rescale(kSize, kSize, wxIMAGE_QUALITY_HIGH);
    bitmap = wxBitmap(image);
  }
  if (!bitmap.IsOk()) bitmap = wxBitmap(kSize, kSize);
  return bitmap;
}

}  // namespace

wxImageList* CreateTreeImages() {
  auto* images = new wxImageList(kSize, kSize, true, 16);
  const wxArtID ids[16] = {
      wxART_HELP_BOOK,       // 0 category
      wxART_CDROM,           // 1 disc
      wxART_REMOVABLE,       // 2 (no node uses it)
      wxART_HARDDISK,        // 3 root folder of a disc
      wxART_FOLDER,          // 4 folder
      wxART_FOLDER_OPEN,     wxART_NORMAL_FILE, wxART_EXECUTABLE_FILE, wxART_NEW_DIR,
      wxART_GO_DIR_UP,       wxART_FIND,        wxART_DELETE,          wxART_REDO,
      wxART_INFORMATION,     wxART_LIST_VIEW,   wxART_REPORT_VIEW,
  };
  for (const wxArtID& id : ids) images->Add(Art(id));
  return images;
}

}  // namespace movra
