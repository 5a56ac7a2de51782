#include "platform/TrayEject.h"

#include <climits>
#include <cstdlib>
#include <fcntl.h>
#include <gio/gio.h>
#include <linux/cdrom.h>
#include <sys/ioctl.h>
#include <sys/mount.h>
#include <unistd.h>

namespace movra {
namespace {

constexpr const char* kUdisks = "org.freedesktop.UDisks2";
constexpr int kTimeoutMs = 5000;

// Calls method of interface on object of the disk service with empty options
// (or with args when given); the reply, or nullptr on any failure.
GVariant* CallUdisks(GDBusConnection* bus, const std::string& object, const char* interface, const char* method,
                     GVariant* args = nullptr) {
  if (!args) args = g_variant_new("(a{sv})", nullptr);
  GError* error = nullptr;
  GVariant* reply = g_dbus_connection_call_sync(bus, kUdisks, object.c_str(), interface, method, args, nullptr,
                                                G_DBUS_CALL_FLAGS_NO_AUTO_START, kTimeoutMs, nullptr, &error);
  if (error) g_error_free(error);
  return reply;
}

// The disk service's object of a block device: its kernel name, resolved
// through links ("/dev/cdrom" -> sr0), under the block-device folder.
std::string BlockObjectOf(const std::string& device) {
  char resolved[PATH_MAX];
  std::string name = ::realpath(device.c_str(), resolved) ? resolved : device;
  name = name.substr(name.rfind('/') + 1);
  std::string object = "/org/freedesktop/UDisks2/block_devices/";
  for (unsigned char c : name) {
    if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9')) {
      object.push_back(static_cast<char>(c));
    } else {
      static const char kHex[] = "0123456789abcdef";
      object += '_';
      object += kHex[c >> 4];
      object += kHex[c & 15];
    }
  }
  return object;
}

// Through the disk service: unmount (a disc that is not mounted answers an
// error, which does not matter), then eject the drive that holds the device.
bool EjectThroughUdisks(const std::string& device) {
  GError* error = nullptr;
  GDBusConnection* bus = g_bus_get_sync(G_BUS_TYPE_SYSTEM, nullptr, &error);
  if (!bus) {
    g_error_free(error);
    return false;
  }
  const std::string block = BlockObjectOf(device);
  if (GVariant* reply = CallUdisks(bus, block, "org.freedesktop.UDisks2.Filesystem", "Unmount")) g_variant_unref(reply);
  bool ejected = false;
  GVariant* drive = CallUdisks(bus, block, "org.freedesktop.DBus.Properties", "Get",
                               g_variant_new("(ss)", "org.freedesktop.UDisks2.Block", "Drive"));
  if (drive) {
    GVariant* boxed = nullptr;
    g_variant_get(drive, "(v)", &boxed);
    const char* path = boxed && g_variant_is_of_type(boxed, G_VARIANT_TYPE_OBJECT_PATH)
                           ? g_variant_get_string(boxed, nullptr)
                           : "/";
    if (std::string(path) != "/") {
      if (GVariant* reply = CallUdisks(bus, path, "org.freedesktop.UDisks2.Drive", "Eject")) {
        g_variant_unref(reply);
        ejected = true;
      }
    }
    if (boxed) g_variant_unref(boxed);
    g_variant_unref(drive);
  }
  g_object_unref(bus);
  return ejected;
}

// Without the disk service: the system calls, which work where the user may
// unmount the disc (or nothing holds it mounted).
bool EjectDirectly(const std::string& device, const std::string& mount) {
  if (!mount.empty()) ::umount2(mount.c_str(), 0);
  const int fd = ::open(device.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return false;
  const bool ok = ::ioctl(fd, CDROMEJECT, 0) == 0;
  ::close(fd);
  return ok;
}

}  // namespace

bool EjectNow(const std::string& device, const std::string& mount) {
  return EjectThroughUdisks(device) || EjectDirectly(device, mount);
}

void CloseTray(const std::string& device) {
  const int fd = ::open(device.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return;
  // The result is of no use to the caller: a tray that does not move is not an error.
  (void)::ioctl(fd, CDROMCLOSETRAY, 0);
  ::close(fd);
}

}  // namespace movra
