#include "platform/Volume.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "platform/TrayEject.h"

#include "support/System.h"
#include "support/TempDir.h"

namespace movra {
namespace {

bool HaveXorriso() { return test::ToolPath("xorriso").has_value(); }

// Makes an ISO 9660 image of a small folder; extra goes to the mkisofs emulation.
std::string MakeImage(const test::TempDir& dir, const std::string& name, std::vector<std::string> extra) {
  test::WriteBytes(dir / "content/VIDEO/A.VOB", "vob");
  const std::string image = dir / name;
  extra.insert(extra.begin(), {"-as", "mkisofs"});
  extra.insert(extra.end(), {"-o", test::ToolArgument(image), test::ToolArgument(dir / "content")});
  EXPECT_EQ(test::RunTool("xorriso", extra), 0) << name;
  return image;
}

TEST(VolumeTest, ReadsLabelAndSerialOfAnIsoImage) {
  if (!HaveXorriso()) GTEST_SKIP() << "xorriso is not installed";
  test::TempDir dir;
  const DriveMap drives({
      {'D', "", MakeImage(dir, "plain.iso", {"-V", "MOVRA_TEST", "--modification-date=2020010203040500"}), true},
      {'E', "", MakeImage(dir, "same.iso", {"-V", "MOVRA_TEST", "--modification-date=2020010203040500"}), true},
      {'F', "", MakeImage(dir, "later.iso", {"-V", "OTHER", "--modification-date=2021010203040500"}), true},
      // A Joliet label carries Chinese; it comes back as GBK.
      {'G', "", MakeImage(dir, "joliet.iso", {"-J", "-V", "\xE5\x85\x89\xE7\x9B\x98 2006"}), true},
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
  const std::optional<VolumeProbe> probe = ProbeVolume(dir / "joliet.iso");
  ASSERT_TRUE(probe);
  EXPECT_EQ(probe->type, "iso9660");
  EXPECT_EQ(probe->label, "\xE5\x85\x89\xE7\x9B\x98 2006");
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

// The 32-bit little-endian number at offset of an image's first sector.
std::uint32_t BootSectorNumber(const std::string& image, std::size_t offset) {
  const std::string bytes = test::ReadBytes(image);
  std::uint32_t n = 0;
  if (bytes.size() >= offset + 4) std::memcpy(&n, bytes.data() + offset, 4);
  return n;
}

TEST(VolumeTest, SerialsOfFatExfatAndNtfsAreTheBootSectorsNumber) {
  MOVRA_SKIP_WITHOUT(kPosixShell);
  test::TempDir dir;
  struct Case {
    const char* name;
    std::string make;     // command that makes the image file {}
    std::size_t offset;   // of the serial in the boot sector
    const char* label;
  };
  const std::vector<Case> cases = {
      {"fat.img", "mkfs.vfat -C -i 1234ABCD -n STICK {} 8192", 39, "STICK"},
      {"fat32.img", "mkfs.vfat -C -F 32 -s 1 -i 89ABCDEF -n BIG {} 40960", 67, "BIG"},
      {"exfat.img", "truncate -s 4M {} && mkfs.exfat -L EXVOL {}", 100, "EXVOL"},
      {"ntfs.img", "truncate -s 4M {} && mkntfs -F -Q -q -L 'NT VOL' {}", 72, "NT VOL"},
  };
  for (const Case& c : cases) {
    const std::string image = dir / c.name;
    std::string command = c.make + " >/dev/null 2>&1";
    for (std::size_t at; (at = command.find("{}")) != std::string::npos;) command.replace(at, 2, "'" + image + "'");
    if (std::system(command.c_str()) != 0) {
      ADD_FAILURE() << "cannot make " << c.name << ": " << command;
      continue;
    }
    const DriveMap drives({{'E', "", image, false}});
    std::string label;
    std::uint32_t serial = 0;
    ASSERT_TRUE(ReadVolumeInfo(drives, "E:", label, serial)) << c.name;
    EXPECT_EQ(label, c.label) << c.name;
    EXPECT_EQ(serial, BootSectorNumber(image, c.offset)) << c.name;
  }
}

TEST(VolumeTest, AnUnreadableDiskIsKnownFromTheDeviceManager) {
  MOVRA_SKIP_WITHOUT(kLinuxDevices);
  test::TempDir dir;
  test::WriteBytes(dir / "udev/b8:17", "S:disk/by-label/MY\\x20STICK\nE:ID_FS_TYPE=vfat\nE:ID_FS_UUID=1234-ABCD\n"
                                       "E:ID_FS_UUID_ENC=1234-ABCD\nE:ID_FS_LABEL_ENC=\\xe5\\x85\\x89\\x20STICK\n");
  test::WriteBytes(dir / "udev/b8:18", "E:ID_FS_TYPE=\n");
  DriveMap drives({{'E', "/media/stick", dir / "sdb1", false, "8:17"}, {'F', "/media/x", dir / "sdb2", false, "8:18"}});
  drives.SetUdevData(dir / "udev");
  std::string label;
  std::uint32_t serial = 0;
  ASSERT_TRUE(ReadVolumeInfo(drives, "E:", label, serial));
  EXPECT_EQ(label, "\xB9\xE2 STICK");
  EXPECT_EQ(serial, 0x1234ABCDu);
  EXPECT_FALSE(ReadVolumeInfo(drives, "F:", label, serial));  // no file system
}

// Remembers what it was asked to eject.
struct FakeEjector : EjectService {
  std::vector<std::string> ejected;
  void Eject(const std::string& device, const std::string& mount) override { ejected.push_back(device + " " + mount); }
};

TEST(VolumeTest, TheTrayOpensThroughTheEjectServiceOfOpticalDrivesOnly) {
  FakeEjector fake;
  SetEjectService(&fake);
  const DriveMap drives({{'D', "/media/ann/DVD", "/dev/sr0", true}, {'E', "/media/stick", "/dev/sdb1", false}});
  SetTrayDoor(drives, true, "D:");
  SetTrayDoor(drives, true, "E:");
  SetTrayDoor(drives, true, "Z:");
  SetTrayDoor(drives, true, "");
  SetEjectService(nullptr);
  EXPECT_EQ(fake.ejected, std::vector<std::string>{"/dev/sr0 /media/ann/DVD"});

  // Without a disk service or a drive the desktop's ejector gives up quickly and says nothing,
  // and its threads have ended once it is gone.
  const auto start = std::chrono::steady_clock::now();
  EXPECT_FALSE(EjectNow("/dev/no-such-drive", ""));
  {
    DesktopEjectService desktop;
    desktop.Eject("/dev/no-such-drive", "");
    desktop.Eject("/dev/no-such-drive", "");
  }
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(12));
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
