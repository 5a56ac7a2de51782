#include "platform/Volume.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "support/TempDir.h"

namespace movra {
namespace {

bool HaveXorriso() { return std::system("command -v xorriso >/dev/null 2>&1") == 0; }

// Makes an ISO 9660 image of a small folder; extra goes to the mkisofs emulation.
std::string MakeImage(const test::TempDir& dir, const std::string& name, const std::string& extra) {
  test::WriteBytes(dir / "content/VIDEO/A.VOB", "vob");
  const std::string image = dir / name;
  const std::string command = "xorriso -as mkisofs " + extra + " -o '" + image + "' '" + (dir / "content") +
                              "' >/dev/null 2>&1";
  EXPECT_EQ(std::system(command.c_str()), 0) << command;
  return image;
}

TEST(VolumeTest, ReadsLabelAndSerialOfAnIsoImage) {
  if (!HaveXorriso()) GTEST_SKIP() << "xorriso is not installed";
  test::TempDir dir;
  const DriveMap drives({
      {'D', "", MakeImage(dir, "plain.iso", "-V MOVRA_TEST --modification-date=2020010203040500"), true},
      {'E', "", MakeImage(dir, "same.iso", "-V MOVRA_TEST --modification-date=2020010203040500"), true},
      {'F', "", MakeImage(dir, "later.iso", "-V OTHER --modification-date=2021010203040500"), true},
      // A Joliet label carries Chinese; it comes back as GBK.
      {'G', "", MakeImage(dir, "joliet.iso", "-J -V '\xE5\x85\x89\xE7\x9B\x98 2006'"), true},
  });

  std::string label;
  std::uint32_t serial = 0;
  ASSERT_TRUE(ReadVolumeInfo(drives, "D:", label, serial));
  EXPECT_EQ(label, "MOVRA_TEST");
  const std::uint32_t first = serial;

  // The serial follows the volume descriptor (label and dates included), so
  // discs burnt apart differ and the same disc burnt again keeps its number.
  ASSERT_TRUE(ReadVolumeInfo(drives, "e:", label, serial));
  EXPECT_EQ(label, "MOVRA_TEST");
  EXPECT_EQ(serial, first);
  ASSERT_TRUE(ReadVolumeInfo(drives, "F:", label, serial));
  EXPECT_NE(serial, first);

  ASSERT_TRUE(ReadVolumeInfo(drives, "G:", label, serial));
  EXPECT_EQ(label, "\xB9\xE2\xC5\xCC 2006");
}

TEST(VolumeTest, FailureLeavesLabelAndSerialAlone) {
  test::TempDir dir;
  test::WriteBytes(dir / "blank.img", std::string(64 * 1024, '\0'));
  const DriveMap drives({{'D', "", dir / "blank.img", true},      // no file system
                         {'E', "", dir / "no-medium", true},      // cannot be opened
                         {'F', "/media/cdrom2", "", true}});      // no device known
  for (const char* drive : {"D:", "E:", "F:", "Z:", "C:", ""}) {
    std::string label = "kept";
    std::uint32_t serial = 42;
    EXPECT_FALSE(ReadVolumeInfo(drives, drive, label, serial)) << drive;
    EXPECT_EQ(label, "kept") << drive;
    EXPECT_EQ(serial, 42u) << drive;
  }
}

TEST(VolumeTest, SerialFromUuid) {
  EXPECT_EQ(SerialFromUuid("vfat", "1234-ABCD"), 0x1234ABCDu);
  EXPECT_EQ(SerialFromUuid("ntfs", "01D9A1B2C3D4E5F6"), 0xC3D4E5F6u);
  EXPECT_EQ(SerialFromUuid("ext4", "0e4b7c2a-5f1d-4e8b-9c3a-7d6e5f4a3b21"), 0x5F4A3B21u);
  // An ISO 9660 UUID is a date: hashed whole, so the day counts as well as the time.
  const std::uint32_t day1 = SerialFromUuid("iso9660", "2020-01-02-03-04-05-00");
  const std::uint32_t day2 = SerialFromUuid("iso9660", "2020-01-03-03-04-05-00");
  EXPECT_NE(day1, day2);
  EXPECT_NE(SerialFromUuid("udf", "not-hex-at-all"), SerialFromUuid("udf", "not-hex-at-alm"));
}

}  // namespace
}  // namespace movra
