#include "platform/TrayEject.h"

namespace movra {
namespace {

EjectService* g_service = nullptr;

}  // namespace

DesktopEjectService::~DesktopEjectService() {
  if (last_.joinable()) last_.join();
}

void DesktopEjectService::Eject(const std::string& device, const std::string& mount) {
  // The answers (or their time-outs) are of no use to the caller, and a drive may take seconds.
  // Each eject waits for the one before, so the last one's thread ends them all; a thread left
  // running at exit would be cut off (or killed with the process, as under Wine) mid-call.
  const std::lock_guard<std::mutex> lock(mutex_);
  last_ = std::thread([before = std::move(last_), device, mount]() mutable {
    if (before.joinable()) before.join();
    EjectNow(device, mount);
  });
}

EjectService& Ejector() {
  static DesktopEjectService desktop;
  return g_service ? *g_service : desktop;
}

void SetEjectService(EjectService* service) { g_service = service; }

}  // namespace movra
