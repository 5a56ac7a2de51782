// Drive letters over a Linux file system. Scanned media keep Windows-style
// drive paths ("E:\VIDEO\"), because snapshot files store them and are
// exchanged between installations. Every optical drive gets a letter from D:
// upward, rooted at its mount point; every other mounted volume a desktop
// user sees (removable and external disks, mounted images, other partitions)
// gets the next free letter while it stays mounted; Z: is the root of the
// whole file system.
//
// Two kinds of text meet here. Mount points, devices and every "native" path
// are the file system's own bytes (UTF-8) and never pass through GBK. Drive
// paths ("E:\VIDEO\") are GBK, like everything recorded: only the part below
// the mount point is converted.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace movra {

// One lettered drive.
struct DriveEntry {
  // An empty entry.
  DriveEntry() = default;
  // A drive with its letter, mount point, device, kind and device number.
  DriveEntry(char letter_, std::string mount_, std::string device_, bool optical_, std::string number_ = {})
      : letter(letter_), mount(std::move(mount_)), device(std::move(device_)), optical(optical_),
        number(std::move(number_)) {}

  char letter = 0;       // 'A'..'Z'
  std::string mount;     // native root; empty when nothing is mounted
  std::string device;    // block device or image file (native); may be empty
  bool optical = false;  // a CD-ROM drive
  std::string number;    // device number "major:minor"; when set, the mount is looked up at each use
};

// What kind of drive a letter stands for (the answers of GetDriveTypeA that matter here).
enum class DriveType { None, Fixed, CdRom };

// The letters of this run and the translation between drive paths and native paths.
class DriveMap {
 public:
  // Only Z:, the root of the file system.
  DriveMap();
  // The given drives; Z: rooted at "/" is added when missing. A later entry
  // with a letter already taken, or one that is not a letter, is dropped.
  // With a mount table (a mountinfo file), it is read at each use: the mount
  // of a drive that has a device number follows it, since a changed disc is
  // mounted afresh, often at a folder named after its label, and the other
  // volumes mounted at the time get the free letters.
  explicit DriveMap(std::vector<DriveEntry> drives, std::string mountinfo = {});
  // Exactly the given drives, without a Z: added: where the system letters
  // its drives itself and Z: is a drive only when it is one.
  static DriveMap OfSystemDrives(std::vector<DriveEntry> drives);

  // Every drive, in letter order, with its current mount.
  std::vector<DriveEntry> Drives() const;
  // The mount table this map reads ("/proc/self/mountinfo"); empty when its mounts are fixed.
  const std::string& MountTable() const { return mountinfo_; }
  // The device manager's database folder ("/run/udev/data"); empty when not consulted.
  const std::string& UdevData() const { return udev_data_; }
  // Sets that folder (DetectDrives gives the system's; tests a folder of their own).
  void SetUdevData(std::string folder) { udev_data_ = std::move(folder); }
  // "D:", "E:", ... for the optical drives, in letter order.
  std::vector<std::string> OpticalDrives() const;
  // The drive of "X:" or "X:\" (either case): CdRom, Fixed, or None when unknown.
  DriveType DriveTypeOf(std::string_view drive_text) const;
  // The drive of a text that starts with a letter and a colon, with its current mount; nullopt when none.
  std::optional<DriveEntry> Find(std::string_view drive_text) const;
  // The block device (or image file) of a drive text; nullopt when unknown or none.
  std::optional<std::string> DeviceOf(std::string_view drive_text) const;
  // "D:\VIDEO\" (GBK, '/' taken as '\') -> "<mount>/VIDEO/" (native);
  // nullopt when the letter is unknown or unmounted.
  std::optional<std::string> NativePathOf(std::string_view drive_path) const;
  // "/media/cdrom0/VIDEO" (native) -> "D:\VIDEO" (GBK) by the longest mount
  // point that holds the path; nullopt for a relative path.
  std::optional<std::string> DrivePathOf(std::string_view native_path) const;
  // The native mount point of the drive that DrivePathOf would choose for
  // native_path; nullopt for a relative path.
  std::optional<std::string> MountHolding(std::string_view native_path) const;

 private:
  // Every drive with its mount as the table says now, the lettered volumes included.
  std::vector<DriveEntry> Current() const;

  // Letters handed to volumes, shared by copies of the map so that a volume
  // keeps its letter for as long as it stays mounted.
  struct Volumes;

  std::vector<DriveEntry> drives_;
  std::string mountinfo_;
  std::string udev_data_;
  std::shared_ptr<Volumes> volumes_;
};

// The drive letter (upper case) of a text that starts with "X:", or 0.
char DriveLetterOf(std::string_view text);

// A drive path (GBK or UTF-8) with each '/' as '\': "C:/Discs/x", as some
// shells write it, names the same folder as "C:\Discs\x". No byte of a
// character in either code is a slash.
std::string DrivePathWithBackslashes(std::string_view drive_path);

// The drives of this machine: the optical drives in device order, then the
// other volumes, mounted as the system says at the time of each use.
DriveMap DetectDrives();

// DetectDrives over another block-device folder and mount table, where the
// drive map reads them (for tests); where the system letters its drives
// itself, neither is read and the system's drives are given.
DriveMap DetectDrives(const std::string& sys_block, const std::string& mountinfo);

}  // namespace movra
