#include "window/platform/IconProvider.h"

#include <memory>

#include <wx/artprov.h>
#include <wx/filename.h>
#include <wx/image.h>
#include <wx/imagpng.h>
#include <wx/mimetype.h>

namespace movra {
namespace {

constexpr int kSmall = 16;
constexpr int kLarge = 32;

// A bitmap of exactly size x size pixels, scaled when the source differs.
wxBitmap Sized(const wxBitmap& bitmap, int size) {
  if (!bitmap.IsOk()) return bitmap;
  if (bitmap.GetWidth() == size && bitmap.GetHeight() == size) return bitmap;
  wxImage image = bitmap.ConvertToImage();
  image.Rescale(size, size, wxIMAGE_QUALITY_HIGH);
  return wxBitmap(image);
}

wxBitmap Art(const wxArtID& id, int size) {
  return Sized(wxArtProvider::GetBitmap(id, wxART_LIST, wxSize(size, size)), size);
}

// ASCII lower case; extensions are matched without regard to case, as Windows does.
std::string LowerAscii(std::string_view text) {
  std::string out(text);
  for (char& c : out) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return out;
}

}  // namespace

IconProvider::IconProvider(bool has_optical_drive)
    : small_(kSmall, kSmall, true, 64), large_(kLarge, kLarge, true, 64) {
  folder_ = Add(Art(wxART_FOLDER, kSmall), Art(wxART_FOLDER, kLarge));
  no_extension_ = Add(Art(wxART_NORMAL_FILE, kSmall), Art(wxART_NORMAL_FILE, kLarge));
  disc_ = has_optical_drive ? Add(Art(wxART_CDROM, kSmall), Art(wxART_CDROM, kLarge)) : folder_;
}

int IconProvider::Add(const wxBitmap& small_bitmap, const wxBitmap& large_bitmap) {
  const int index = small_.Add(small_bitmap);
  large_.Add(large_bitmap);
  return index;
}

int IconProvider::IconOfExtension(std::string_view ext_or_name) {
  const std::size_t dot = ext_or_name.rfind('.');
  if (dot == std::string_view::npos) return no_extension_;
  const std::string ext = LowerAscii(ext_or_name.substr(dot + 1));
  if (ext.empty()) return no_extension_;
  const auto found = by_extension_.find(ext);
  if (found != by_extension_.end()) return found->second;
  const int index = LookUp(ext);
  by_extension_.emplace(ext, index);
  return index;
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
  const auto known = by_icon_name_.find(icon_name);
  if (known != by_icon_name_.end()) return known->second;
  int index = AddThemed(icon_name, file);
  if (index < 0) index = no_extension_;
  by_icon_name_.emplace(icon_name, index);
  return index;
}

int IconProvider::AddThemed(const wxString& icon_name, const wxString& file_fallback) {
  wxBitmap small_bitmap = Art(icon_name, kSmall);
  wxBitmap large_bitmap = Art(icon_name, kLarge);
  if (!small_bitmap.IsOk() || !large_bitmap.IsOk()) {
    if (wxImage::FindHandler(wxBITMAP_TYPE_PNG) == nullptr) wxImage::AddHandler(new wxPNGHandler);
    wxImage image;
    if (!wxFileName::FileExists(file_fallback) || !image.LoadFile(file_fallback)) return -1;
    const wxBitmap full(image);
    small_bitmap = Sized(full, kSmall);
    large_bitmap = Sized(full, kLarge);
  }
  return Add(small_bitmap, large_bitmap);
}

}  // namespace movra
