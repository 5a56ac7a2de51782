#include "platform/TrayEject.h"

#include <thread>

namespace movra {
namespace {

EjectService* g_service = nullptr;

}  // namespace

void DesktopEjectService::Eject(const std::string& device, const std::string& mount) {
  // Detached: the answers (or their time-outs) are of no use to anyone, and a drive may take seconds.
  std::thread([device, mount] { EjectNow(device, mount); }).detach();
}

EjectService& Ejector() {
  static DesktopEjectService desktop;
  return g_service ? *g_service : desktop;
}

void SetEjectService(EjectService* service) { g_service = service; }

}  // namespace movra
