// The Linux side of the icon provider: the desktop's MIME database names an
// icon of the theme for each extension.
#include "window/platform/IconProvider.h"

#include <memory>

#include <wx/filename.h>
#include <wx/image.h>
#include <wx/imagpng.h>
#include <wx/mimetype.h>

#include "window/platform/IconArt.h"

namespace movra {
namespace {

// The images of a themed icon name, or of the icon file the database names
// when the theme lacks it; false when neither gives one.
bool ThemedImages(const wxString& icon_name, const wxString& file_fallback, wxBitmap& small_bitmap,
                  wxBitmap& large_bitmap) {
  small_bitmap = Art(icon_name, kSmallIcon);
  large_bitmap = Art(icon_name, kLargeIcon);
  if (small_bitmap.IsOk() && large_bitmap.IsOk()) return true;
  if (wxImage::FindHandler(wxBITMAP_TYPE_PNG) == nullptr) wxImage::AddHandler(new wxPNGHandler);
  wxImage image;
  if (!wxFileName::FileExists(file_fallback) || !image.LoadFile(file_fallback)) return false;
  const wxBitmap full(image);
  small_bitmap = Sized(full, kSmallIcon);
  large_bitmap = Sized(full, kLargeIcon);
  return true;
}

}  // namespace

IconProvider::IconProvider(const std::string& optical_drive)
    : small_(kSmallIcon, kSmallIcon, true, 64), large_(kLargeIcon, kLargeIcon, true, 64) {
  folder_ = Add(Art(wxART_FOLDER, kSmallIcon), Art(wxART_FOLDER, kLargeIcon));
  no_extension_ = Add(Art(wxART_NORMAL_FILE, kSmallIcon), Art(wxART_NORMAL_FILE, kLargeIcon));
  disc_ = !optical_drive.empty() ? Add(Art(wxART_CDROM, kSmallIcon), Art(wxART_CDROM, kLargeIcon)) : folder_;
}

int IconProvider::LookUp(const std::string& ext) {
  // Extensions are GBK; one that is not plain ASCII names no MIME type anyway.
  for (unsigned char c : ext) {
    if (c >= 0x80) return no_extension_;
  }
  std::unique_ptr<wxFileType> type(wxTheMimeTypesManager->GetFileTypeFromExtension(wxString::FromAscii(ext.c_str())));
  if (!type) return no_extension_;
  wxIconLocation location;
  if (!type->GetIcon(&location) || !location.IsOk()) return no_extension_;
  // The database names an icon file of the theme; the theme gives the same
  // icon drawn for small sizes, which looks better than a scaled-down one.
  const wxString file = location.GetFileName();
  const wxString icon_name = wxFileName(file).GetName();
  return Shared(icon_name, [&](wxBitmap& small_bitmap, wxBitmap& large_bitmap) {
    return ThemedImages(icon_name, file, small_bitmap, large_bitmap);
  });
}

}  // namespace movra
