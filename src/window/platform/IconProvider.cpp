#include "window/platform/IconProvider.h"

#include <wx/image.h>

#include "window/platform/IconArt.h"

namespace movra {
namespace {

// ASCII lower case; extensions are matched without regard to case, as Windows does.
std::string LowerAscii(std::string_view text) {
  std::string out(text);
  for (char& c : out) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return out;
}

}  // namespace

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

}  // namespace movra
