// Drive letters over a Linux file system. Scanned media keep Windows-style
// drive paths ("E:\VIDEO\"), because snapshot files store them and are
// exchanged between installations. Every optical drive gets a letter from D:
// upward, rooted at its mount point; Z: is the root of the whole file system.
// All paths here are GBK texts; they become UTF-8 only at system calls.
#pragma once

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
  std::string mount;     // native root (GBK); empty when nothing is mounted
  std::string device;    // block device or image file (GBK); may be empty
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
  // With a mount table (a mountinfo file), the mount of a drive that has a
  // device number is read from it at each use, since a changed disc is
  // mounted afresh, often at a folder named after its label.
  explicit DriveMap(std::vector<DriveEntry> drives, std::string mountinfo = {});

  // Every drive, in letter order, with its current mount.
  std::vector<DriveEntry> Drives() const;
  // "D:", "E:", ... for the optical drives, in letter order.
  std::vector<std::string> OpticalDrives() const;
  // The drive of "X:" or "X:\" (either case): CdRom, Fixed, or None when unknown.
  DriveType DriveTypeOf(std::string_view drive_text) const;
  // The drive of a text that starts with a letter and a colon, or nullptr (its mount as detected).
  const DriveEntry* Find(std::string_view drive_text) const;
  // The block device (or image file) of a drive text; nullopt when unknown or none.
  std::optional<std::string> DeviceOf(std::string_view drive_text) const;
  // "D:\VIDEO\" -> "<mount>/VIDEO/"; nullopt when the letter is unknown or unmounted.
  std::optional<std::string> NativePathOf(std::string_view drive_path) const;
  // "/media/cdrom0/VIDEO" -> "D:\VIDEO" by the longest mount point that holds
  // the path; nullopt for a relative path.
  std::optional<std::string> DrivePathOf(std::string_view native_path) const;

 private:
  // The mount table's text, or empty when mounts are fixed.
  std::string ReadMountTable() const;
  // The mount point of d by table (normalized); empty when nothing is mounted.
  std::string MountOf(const DriveEntry& d, const std::string& table) const;

  std::vector<DriveEntry> drives_;
  std::string mountinfo_;
};

// The drive letter (upper case) of a text that starts with "X:", or 0.
char DriveLetterOf(std::string_view text);

// The drives of this machine: /sys/block/sr* in device order, mounted as
// /proc/self/mountinfo says at the time of each use.
DriveMap DetectDrives();

// DetectDrives over another block-device folder and mount table (for tests).
DriveMap DetectDrives(const std::string& sys_block, const std::string& mountinfo);

}  // namespace movra
