// A second process for the shared-zone tests, acting on a zone through the library's own
// zone code, on the device root of TQ_DEVICE:
//   zone_peer write NAME TEXT   writes TEXT at the zone's start and notifies the others
//   zone_peer read NAME COUNT   prints the zone's first COUNT bytes
//   zone_peer idle NAME         registers for notifications, never acknowledges, sleeps
//   zone_peer hold NAME         takes the zone mutex, says "held", and sleeps holding it
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "platform/kernel_object.h"
#include "platform/process_table.h"
#include "platform/sync_objects.h"
#include "system/shared_zone.h"
#include "system/zone_layout.h"

int main(int argc, char** argv) {
  if (argc < 3) return 2;
  const std::string mode = argv[1];
  const std::string name8 = argv[2];
  const std::u16string name(name8.begin(), name8.end());
  // A program of the device, like those the device starts.
  if (const auto state = ce::ReadProcessState(getpid())) {
    ce::RecordDeviceProcess(getpid(), state->startTime, u"\\Tests\\zone_peer.exe");
  }
  if (mode == "hold") {
    const std::u16string mutexName =
        tq::ZoneCompanionName(tq::ZoneObjectName(name, tq::kLocalScope), u"_MTX");
    const ce::HANDLE mutex = ce::CreateMutexW(nullptr, ce::TRUE, mutexName.c_str());
    if (ce::GetLastError() == ce::ERROR_ALREADY_EXISTS) ce::WaitForSingleObject(mutex, ce::INFINITE);
    std::puts("held");
    std::fflush(stdout);
    for (;;) pause();
  }
  ce::DWORD failure = 0;
  auto zone = tq::SharedZone::Open(name, 4096, tq::kLocalScope, true, &failure);
  if (zone == nullptr) {
    std::fprintf(stderr, "open failed: %u\n", failure);
    return 1;
  }
  if (mode == "write" && argc > 3) {
    const std::string text = argv[3];
    zone->Write({reinterpret_cast<const uint8_t*>(text.data()), text.size()});
  } else if (mode == "read" && argc > 3) {
    std::vector<uint8_t> bytes(static_cast<size_t>(std::atoi(argv[3])));
    zone->Read(bytes);
    std::fwrite(bytes.data(), 1, bytes.size(), stdout);
  } else if (mode == "idle") {
    zone->RegisterForNotifications();
    std::puts("registered");
    std::fflush(stdout);
    for (;;) pause();
  } else {
    return 2;
  }
  return 0;
}
