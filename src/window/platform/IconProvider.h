// Icons of the content and results lists: a small (16 x 16) and a large
// (32 x 32) image list filled in step, so that every index is valid in both.
// Extensions are looked up once in the system's icons and cached: the
// shell's image list on Windows, the desktop's MIME database and icon theme
// on Linux (linux/ and windows/ hold each system's side).
#pragma once

#include <map>
#include <string>
#include <string_view>

#include <wx/bitmap.h>
#include <wx/imaglist.h>
#include <wx/string.h>

namespace movra {

class IconProvider {
 public:
  // optical_drive ("D:", from the drive map) chooses the disc icon: that
  // drive's, or the folder icon when empty (a machine without one).
  explicit IconProvider(const std::string& optical_drive);
  IconProvider(const IconProvider&) = delete;
  IconProvider& operator=(const IconProvider&) = delete;

  // The 16 x 16 images (not to be modified by callers; lists only show them).
  wxImageList* SmallImages() { return &small_; }
  // The 32 x 32 images, index for index the same icons as SmallImages().
  wxImageList* LargeImages() { return &large_; }

  // The icon of an extension (".mp3") or of a file name ("Text.txt"): the
  // text from the last dot on decides; an empty text or a name without a dot
  // gives the icon of a file without extension.
  int IconOfExtension(std::string_view ext_or_name);
  // The icon of a closed folder.
  int FolderIconIndex() const { return folder_; }
  // The icon of an optical drive, or FolderIconIndex() on a machine without one.
  int DiscIconIndex() const { return disc_; }
  // The icon of a text file (the same index IconOfExtension(".txt") gives).
  int TextFileIconIndex() { return IconOfExtension(".txt"); }

 private:
  // Adds a pair of images and returns their common index.
  int Add(const wxBitmap& small_bitmap, const wxBitmap& large_bitmap);
  // The index of the system's icon named key, adding the images the first
  // time a key is seen; make gives them (small and large), or false when the
  // system has no such icon (the key then means the generic file icon).
  template <class Make>
  int Shared(const wxString& key, Make make);
  // Looks the extension (GBK, lower case, without the dot) up in the system's icons.
  int LookUp(const std::string& ext);

  wxImageList small_;
  wxImageList large_;
  // Set by each system's constructor.
  int folder_ = -1;
  int disc_ = -1;
  int no_extension_ = -1;

  std::map<std::string, int> by_extension_;  // lower-case extension without the dot -> index
  std::map<wxString, int> by_icon_;          // the system's name of an icon -> index, so extensions share images
};

template <class Make>
int IconProvider::Shared(const wxString& key, Make make) {
  const auto known = by_icon_.find(key);
  if (known != by_icon_.end()) return known->second;
  wxBitmap small_bitmap;
  wxBitmap large_bitmap;
  const int index = make(small_bitmap, large_bitmap) ? Add(small_bitmap, large_bitmap) : no_extension_;
  by_icon_.emplace(key, index);
  return index;
}

}  // namespace movra
