// Opening an optical drive's tray on a desktop that keeps discs mounted: the
// disc is unmounted first and then ejected, through the desktop's own disk
// service (udisks2 on the system bus) as file managers do, or directly
// (umount2 and CDROMEJECT) where that service is absent. Nothing here ever
// makes the caller wait, and a tray that stays shut is not reported.
#pragma once

#include <mutex>
#include <string>
#include <thread>

namespace movra {

class EjectService {
 public:
  virtual ~EjectService() = default;
  // Starts unmounting mount (native; may be empty) and ejecting the medium of
  // device (native, "/dev/sr0"); returns at once.
  virtual void Eject(const std::string& device, const std::string& mount) = 0;
};

// The desktop's disk service, with the direct calls as fallback, run on a
// thread of its own with short time-outs; one eject at a time, in order.
class DesktopEjectService : public EjectService {
 public:
  DesktopEjectService() = default;
  DesktopEjectService(const DesktopEjectService&) = delete;
  DesktopEjectService& operator=(const DesktopEjectService&) = delete;
  // Waits for the eject still under way, so none outlives the program.
  ~DesktopEjectService() override;
  void Eject(const std::string& device, const std::string& mount) override;

 private:
  std::mutex mutex_;
  std::thread last_;
};

// The service in use: the desktop's unless a test installed another.
EjectService& Ejector();

// Replaces the service (nullptr restores the desktop's); for tests.
void SetEjectService(EjectService* service);

// Unmounts and ejects at once, waiting for the answers (at most a few
// seconds); true when the tray was told to open. What DesktopEjectService
// runs on its own thread.
bool EjectNow(const std::string& device, const std::string& mount);

// Closes the tray of the optical drive of device (native) at once; errors are ignored.
void CloseTray(const std::string& device);

}  // namespace movra
