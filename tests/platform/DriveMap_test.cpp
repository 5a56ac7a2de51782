#include "platform/DriveMap.h"

#include <gtest/gtest.h>

#include "support/System.h"
#include "support/TempDir.h"

namespace movra {
namespace {

DriveMap TwoDiscDrives() {
  return DriveMap({{'D', "/media/cdrom0", "/dev/sr0", true},
                   {'E', "/media/cdrom1/", "/dev/sr1", true},
                   {'F', "", "/dev/sr2", true}});
}

TEST(DriveMapTest, ListsOpticalDrivesAndTellsDriveTypes) {
  const DriveMap drives = TwoDiscDrives();
  EXPECT_EQ(drives.OpticalDrives(), (std::vector<std::string>{"D:", "E:", "F:"}));
  EXPECT_EQ(drives.DriveTypeOf("D:"), DriveType::CdRom);
  EXPECT_EQ(drives.DriveTypeOf("f:\\"), DriveType::CdRom);  // unmounted, still a drive
  EXPECT_EQ(drives.DriveTypeOf("Z:"), DriveType::Fixed);
  EXPECT_EQ(drives.DriveTypeOf("C:"), DriveType::None);
  EXPECT_EQ(drives.DriveTypeOf(""), DriveType::None);
  EXPECT_EQ(drives.DriveTypeOf("D:\\VIDEO\\"), DriveType::None);  // not a root
  EXPECT_EQ(drives.DeviceOf("E:"), "/dev/sr1");
  EXPECT_EQ(drives.DeviceOf("Z:"), std::nullopt);
  EXPECT_EQ(drives.DeviceOf("G:"), std::nullopt);
}

TEST(DriveMapTest, NoOpticalDriveLeavesOnlyTheRoot) {
  const DriveMap drives;
  EXPECT_TRUE(drives.OpticalDrives().empty());
  ASSERT_EQ(drives.Drives().size(), 1u);
  EXPECT_EQ(drives.NativePathOf("Z:\\"), "/");
  // Bad letters and repeated letters are dropped; the first of a letter wins.
  const DriveMap odd({{'1', "/x", "", true}, {'d', "/a", "", true}, {'D', "/b", "", true}});
  EXPECT_EQ(odd.OpticalDrives(), std::vector<std::string>{"D:"});
  EXPECT_EQ(odd.NativePathOf("D:\\"), "/a/");
}

TEST(DriveMapTest, SystemDrivesHaveZOnlyWhenTheSystemHasIt) {
  const DriveMap without = DriveMap::OfSystemDrives({{'C', "C:", "\\\\.\\C:", false}, {'D', "D:", "\\\\.\\D:", true}});
  EXPECT_EQ(without.Drives().size(), 2u);
  EXPECT_EQ(without.DriveTypeOf("Z:"), DriveType::None);
  EXPECT_EQ(without.NativePathOf("Z:\\x"), std::nullopt);
  EXPECT_EQ(without.DrivePathOf("/x"), std::nullopt);
  const DriveMap with = DriveMap::OfSystemDrives({{'C', "C:", "", false}, {'Z', "Z:", "", false}});
  EXPECT_EQ(with.DriveTypeOf("Z:"), DriveType::Fixed);
  EXPECT_EQ(with.NativePathOf("Z:\\x"), "Z:/x");
}

TEST(DriveMapTest, DrivePathToNativePath) {
  const DriveMap drives = TwoDiscDrives();
  EXPECT_EQ(drives.NativePathOf("D:\\VIDEO\\"), "/media/cdrom0/VIDEO/");
  EXPECT_EQ(drives.NativePathOf("d:\\"), "/media/cdrom0/");
  EXPECT_EQ(drives.NativePathOf("D:"), "/media/cdrom0");
  EXPECT_EQ(drives.NativePathOf("E:\\A\\B"), "/media/cdrom1/A/B");  // the mount's slash is not doubled
  EXPECT_EQ(drives.NativePathOf("Z:\\home\\ann\\"), "/home/ann/");
  EXPECT_EQ(drives.NativePathOf("Z:\\"), "/");
  EXPECT_EQ(drives.NativePathOf("F:\\"), std::nullopt);  // no medium mounted
  EXPECT_EQ(drives.NativePathOf("C:\\"), std::nullopt);
  EXPECT_EQ(drives.NativePathOf("\\\\server\\share\\"), std::nullopt);
  // A backslash that is the second byte of a GBK character stays: "\x95\x5C" is one
  // character; the names below the mount become UTF-8.
  EXPECT_EQ(drives.NativePathOf("Z:\\\x95\x5C\\\xB9\xE2\\"), "/\xE6\x98\x9E/\xE5\x85\x89/");
}

TEST(DriveMapTest, NativePathToDrivePathByLongestMount) {
  const DriveMap drives({{'D', "/media/cdrom0", "/dev/sr0", true},
                         {'E', "/media/cdrom0/inner", "/dev/sr1", true},
                         {'F', "/media/cdrom", "/dev/sr2", true}});
  EXPECT_EQ(drives.DrivePathOf("/media/cdrom0/VIDEO"), "D:\\VIDEO");
  EXPECT_EQ(drives.DrivePathOf("/media/cdrom0"), "D:\\");
  EXPECT_EQ(drives.DrivePathOf("/media/cdrom0/"), "D:\\");
  EXPECT_EQ(drives.DrivePathOf("/media/cdrom0/inner/x/"), "E:\\x\\");
  EXPECT_EQ(drives.DrivePathOf("/media/cdrom0//inner//x"), "E:\\x");
  // A mount point is matched by whole names only: /media/cdrom0 is not under /media/cdrom.
  EXPECT_EQ(drives.DrivePathOf("/media/cdrom1"), "Z:\\media\\cdrom1");
  EXPECT_EQ(drives.DrivePathOf("/home/ann/photos"), "Z:\\home\\ann\\photos");
  EXPECT_EQ(drives.DrivePathOf("/"), "Z:\\");
  EXPECT_EQ(drives.DrivePathOf("/home/\xE5\x85\x89\xE7\x9B\x98"), "Z:\\home\\\xB9\xE2\xC5\xCC");
  EXPECT_EQ(drives.DrivePathOf("relative/path"), std::nullopt);
  EXPECT_EQ(drives.DrivePathOf(""), std::nullopt);
}

TEST(DriveMapTest, DetectsCdromDevicesInNumberOrderWithTheirMounts) {
  MOVRA_SKIP_WITHOUT(kLinuxDevices);
  test::TempDir dir;
  for (const char* name : {"sda", "loop0", "srx"}) test::WriteBytes(dir / ("block/" + std::string(name) + "/dev"), "8:0\n");
  test::WriteBytes(dir / "block/sr0/dev", "11:0\n");
  test::WriteBytes(dir / "block/sr1/dev", "11:1\n");
  test::WriteBytes(dir / "block/sr2/dev", "11:2\n");
  test::WriteBytes(dir / "block/sr10/dev", "11:10\n");
  // sr1 is mounted twice, first as a bind of a sub-folder; sr2 is not mounted.
  test::WriteBytes(dir / "mountinfo",
                   "22 1 254:1 / / rw,relatime shared:1 - ext4 /dev/vda1 rw\n"
                   "40 22 11:0 / /media/ann/MY\\040DISC ro - iso9660 /dev/sr0 ro\n"
                   "41 22 11:1 /sub /mnt/bind ro - udf /dev/sr1 ro\n"
                   "42 22 11:1 / /media/\xE5\x85\x89\xE7\x9B\x98 ro - udf /dev/sr1 ro\n"
                   "43 22 11:10 / /media/ten ro - iso9660 /dev/sr10 ro\n");
  const DriveMap drives = DetectDrives(dir / "block", dir / "mountinfo");
  ASSERT_EQ(drives.OpticalDrives(), (std::vector<std::string>{"D:", "E:", "F:", "G:"}));
  EXPECT_EQ(drives.NativePathOf("D:\\"), "/media/ann/MY DISC/");
  EXPECT_EQ(drives.NativePathOf("E:\\"), "/media/\xE5\x85\x89\xE7\x9B\x98/");  // mount points stay native
  EXPECT_EQ(drives.NativePathOf("F:\\"), std::nullopt);
  EXPECT_EQ(drives.DeviceOf("F:"), "/dev/sr2");
  EXPECT_EQ(drives.NativePathOf("G:\\"), "/media/ten/");
  EXPECT_EQ(drives.DeviceOf("G:"), "/dev/sr10");
  EXPECT_EQ(drives.DrivePathOf("/media/ann/MY DISC/VIDEO"), "D:\\VIDEO");

  // Discs change during a run: D:'s disc is taken out and F: gets one,
  // mounted at a folder named after its label. Letters stay, mounts follow.
  test::WriteBytes(dir / "mountinfo",
                   "22 1 254:1 / / rw,relatime shared:1 - ext4 /dev/vda1 rw\n"
                   "44 22 11:2 / /media/ann/NEW ro - iso9660 /dev/sr2 ro\n");
  EXPECT_EQ(drives.OpticalDrives().size(), 4u);
  EXPECT_EQ(drives.NativePathOf("D:\\"), std::nullopt);
  EXPECT_EQ(drives.NativePathOf("F:\\VIDEO\\"), "/media/ann/NEW/VIDEO/");
  EXPECT_EQ(drives.DrivePathOf("/media/ann/NEW/x"), "F:\\x");
  EXPECT_EQ(drives.DrivePathOf("/media/ann/MY DISC/VIDEO"), "Z:\\media\\ann\\MY DISC\\VIDEO");
}

// "Música_ñ": a name GBK cannot hold, as a desktop mounts a stick labelled so.
constexpr const char* kMusic = "M\xC3\xBAsica_\xC3\xB1";

TEST(DriveMapTest, OtherVolumesGetLettersThatLastWhileMounted) {
  MOVRA_SKIP_WITHOUT(kLinuxDevices);
  test::TempDir dir;
  const std::string stick = dir / kMusic;
  test::WriteBytes(dir / "block/sr0/dev", "11:0\n");
  const std::string system_mounts =
      "22 1 254:1 / / rw - ext4 /dev/vda1 rw\n"
      "23 22 254:2 / /boot rw - ext4 /dev/vda2 rw\n"
      "24 22 0:5 / /proc rw - proc proc rw\n"
      "25 22 7:3 / /snap/core/1 ro - squashfs /dev/loop3 ro\n"
      "26 22 0:40 / /run/user/1000/doc rw - fuse.portal portal rw\n"
      "27 22 8:33 /sub /mnt/bind rw - ext4 /dev/sdc1 rw\n"
      "28 22 11:0 / /media/ann/DVD ro - iso9660 /dev/sr0 ro\n";
  auto mount = [&](const std::string& lines) { test::WriteBytes(dir / "mountinfo", system_mounts + lines); };
  mount("40 22 8:17 / " + stick + " rw - vfat /dev/sdb1 rw\n"
        "41 22 8:17 / /media/ann/again rw - vfat /dev/sdb1 rw\n"
        "42 22 7:0 / /media/ann/IMAGE ro - iso9660 /dev/loop0 ro\n");
  const DriveMap drives = DetectDrives(dir / "block", dir / "mountinfo");

  // D: is the optical drive; the stick (once) and the image follow, nothing of the system.
  std::vector<std::string> seen;
  for (const DriveEntry& d : drives.Drives()) seen.push_back(std::string(1, d.letter) + ":" + d.mount);
  EXPECT_EQ(seen, (std::vector<std::string>{"D:/media/ann/DVD", "E:" + stick, "F:/media/ann/IMAGE", "Z:/"}));
  EXPECT_EQ(drives.DriveTypeOf("E:"), DriveType::Fixed);
  EXPECT_EQ(drives.DeviceOf("E:"), "/dev/sdb1");
  EXPECT_EQ(drives.NativePathOf("E:\\VIDEO\\"), stick + "/VIDEO/");
  EXPECT_EQ(drives.DrivePathOf(stick + "/VIDEO"), "E:\\VIDEO");
  EXPECT_EQ(drives.MountHolding(stick + "/VIDEO"), stick);

  // The stick goes and a disk comes: the image keeps F:, the disk takes the freed E:.
  mount("42 22 7:0 / /media/ann/IMAGE ro - iso9660 /dev/loop0 ro\n"
        "43 22 8:33 / /media/ann/DISK rw - exfat /dev/sdc1 rw\n");
  EXPECT_EQ(drives.NativePathOf("F:\\"), "/media/ann/IMAGE/");
  EXPECT_EQ(drives.NativePathOf("E:\\"), "/media/ann/DISK/");
  EXPECT_EQ(drives.DrivePathOf(stick)->substr(0, 3), "Z:\\");
}

TEST(DriveMapTest, NoBlockFolderGivesNoOpticalDrive) {
  MOVRA_SKIP_WITHOUT(kLinuxDevices);
  test::TempDir dir;
  const DriveMap drives = DetectDrives(dir / "missing", dir / "missing-mountinfo");
  EXPECT_TRUE(drives.OpticalDrives().empty());
  EXPECT_EQ(drives.DrivePathOf("/home"), "Z:\\home");
}

}  // namespace
}  // namespace movra
