#include "window/platform/IconProvider.h"

#include <gtest/gtest.h>

namespace movra {
namespace {

TEST(IconProviderTest, SmallAndLargeListsStayInStep) {
  IconProvider icons("D:");
  for (const char* ext : {".txt", ".mp3", ".jpg", ".pdf", ".html", ".zzz-none", ""}) icons.IconOfExtension(ext);
  EXPECT_EQ(icons.SmallImages()->GetImageCount(), icons.LargeImages()->GetImageCount());
  EXPECT_EQ(icons.SmallImages()->GetSize(), wxSize(16, 16));
  EXPECT_EQ(icons.LargeImages()->GetSize(), wxSize(32, 32));
  for (int i = 0; i < icons.SmallImages()->GetImageCount(); ++i) {
    EXPECT_EQ(icons.SmallImages()->GetBitmap(i).GetSize(), wxSize(16, 16));
    EXPECT_EQ(icons.LargeImages()->GetBitmap(i).GetSize(), wxSize(32, 32));
  }
}

TEST(IconProviderTest, TheTextFromTheLastDotDecides) {
  IconProvider icons("");
  const int text = icons.TextFileIconIndex();
  EXPECT_EQ(icons.IconOfExtension("Text.txt"), text);
  EXPECT_EQ(icons.IconOfExtension(".txt"), text);
  EXPECT_EQ(icons.IconOfExtension("archive.tar.TXT"), text);  // case does not matter
  EXPECT_NE(text, icons.FolderIconIndex());
  // No extension: the same icon for an empty text, a bare name and a trailing dot.
  const int none = icons.IconOfExtension("");
  EXPECT_EQ(icons.IconOfExtension("README"), none);
  EXPECT_EQ(icons.IconOfExtension("name."), none);
  EXPECT_EQ(icons.IconOfExtension(".no-such-extension-here"), none);
  EXPECT_EQ(icons.IconOfExtension(".\xB9\xE2"), none);  // a GBK extension names no MIME type
  EXPECT_NE(none, icons.FolderIconIndex());
}

TEST(IconProviderTest, RepeatedLookupsAddNoImages) {
  IconProvider icons("");
  const int first = icons.IconOfExtension(".mp3");
  const int count = icons.SmallImages()->GetImageCount();
  for (int i = 0; i < 100; ++i) EXPECT_EQ(icons.IconOfExtension("song.MP3"), first);
  EXPECT_EQ(icons.SmallImages()->GetImageCount(), count);
}

TEST(IconProviderTest, DiscIconIsTheFolderIconWithoutAnOpticalDrive) {
  IconProvider without("");
  EXPECT_EQ(without.DiscIconIndex(), without.FolderIconIndex());
  IconProvider with("D:");
  EXPECT_NE(with.DiscIconIndex(), with.FolderIconIndex());
  EXPECT_GE(with.DiscIconIndex(), 0);
}

}  // namespace
}  // namespace movra
