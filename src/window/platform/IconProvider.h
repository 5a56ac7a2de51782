// Icons of the content and results lists: a small (16 x 16) and a large
// (32 x 32) image list filled in step, so that every index is valid in both.
// Extensions are looked up once in the desktop's MIME database and cached,
// standing in for the shell's own icon cache.
#pragma once

#include <map>
#include <string>
#include <string_view>

#include <wx/bitmap.h>
#include <wx/imaglist.h>

namespace movra {

class IconProvider {
 public:
  // has_optical_drive chooses the disc icon: a CD-ROM drive, or the folder icon when false.
  explicit IconProvider(bool has_optical_drive);
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
  // Adds the icon of a themed icon name, or returns -1 when the theme lacks it.
  int AddThemed(const wxString& icon_name, const wxString& file_fallback);
  // Looks the extension (lower case, without the dot) up in the MIME database.
  int LookUp(const std::string& ext);

  wxImageList small_;
  wxImageList large_;
  int folder_ = -1;
  int disc_ = -1;
  int no_extension_ = -1;
  std::map<std::string, int> by_extension_;  // lower-case extension without the dot -> index
  std::map<wxString, int> by_icon_name_;     // icon name -> index, so extensions share images
};

}  // namespace movra
