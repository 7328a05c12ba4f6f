// Opening, testing and waiting on shared zones.
#include "system/shared_zone_functions.h"

#include <vector>

#include "files/file_handles.h"
#include "frame/error_state.h"
#include "frame/handle_table.h"
#include "frame/raise_error.h"
#include "platform/file_mapping.h"
#include "platform/kernel_object.h"
#include "platform/last_error.h"
#include "platform/sync_objects.h"
#include "system/shared_zone.h"
#include "system/shared_zone_stream.h"
#include "system/zone_notifier.h"

namespace tq {
namespace {

constexpr uint32_t kInvalidIndex = 80022;
constexpr uint32_t kNoMemory = 80041;
constexpr uint32_t kZoneFailed = 81508;
constexpr uint32_t kNotAZone = 81509;
constexpr uint32_t kProcedureRefused = 81510;
constexpr int32_t kZoneArgument = 80896;
constexpr int32_t kMemoryArgument = 79872;
constexpr uint8_t kTextMark[] = {0xFF, 0xFE};

int32_t ZoneFailure(ComponentProxy* proxy, ce::DWORD code) {
  RaiseError(proxy, kZoneFailed, {kZoneArgument});
  RecordSystemError(proxy, code);
  return -1;
}

}  // namespace

bool SharedZoneExists(std::u16string_view name, int32_t scope) {
  const ce::HANDLE mapping = ce::OpenFileMappingW(ce::FILE_MAP_READ, ce::FALSE,
                                                  ZoneObjectName(name, scope).c_str());
  if (mapping == nullptr) return false;
  ce::CloseHandle(mapping);
  return true;
}

int32_t OpenSharedZone(ComponentProxy* proxy, std::u16string_view name, int32_t size,
                       int32_t scope, int32_t mode, VMObject* procedure, int32_t stringMode) {
  const bool text = (mode & kZoneText) != 0;
  const bool existed = text && SharedZoneExists(name, scope);
  ce::DWORD failure = 0;
  std::unique_ptr<SharedZone> zone = SharedZone::Open(
      name, static_cast<uint32_t>(std::max(size, 0)), scope, (mode & kZoneWritable) != 0, &failure);
  if (zone == nullptr) return ZoneFailure(proxy, failure);
  if (procedure != nullptr) {
    auto listener = std::make_shared<ZoneListener>(zone->name(), zone->objectName(), procedure);
    if (!listener->procedure.registered()) {
      RaiseError(proxy, kProcedureRefused);
      return -1;
    }
    if (!zone->RegisterForNotifications()) return ZoneFailure(proxy, ce::GetLastError());
    zone->SetListener(AddZoneListener(std::move(listener)));
  }
  if (text) {
    const uint8_t* start = zone->data();
    if (!existed) {
      if (zone->Write(kTextMark) != sizeof kTextMark) return ZoneFailure(proxy, ce::GetLastError());
    } else if (zone->size() >= 2 && start[0] == kTextMark[0] && start[1] == kTextMark[1]) {
      zone->set_position(2);
    }
  }
  // The stream holds the only reference to its own error state; the handle owns the stream.
  auto* stream = new SharedZoneStream(std::move(zone), new CXError());
  auto* handle = new TextFileHandle(stream, stream->errorState(), false, kZoneHandleKind);
  handle->setUnicode(text || (stringMode != 1 && stringMode != 2 && (mode & filemode::kAnsi) == 0));
  const intptr_t index = Handles().Add(kZoneHandleKind, handle);
  if (index < 0 || index > INT32_MAX) {
    if (index >= 0) Handles().Remove(index);
    else delete handle;
    RaiseError(proxy, kNoMemory, {kMemoryArgument});
    return -1;
  }
  return static_cast<int32_t>(index);
}

bool WaitSharedZone(ComponentProxy* proxy, int32_t index, int64_t milliseconds) {
  HandleCell* cell = Handles().Find(index);
  if (cell == nullptr || index < 2) {
    RaiseError(proxy, kInvalidIndex, {index});
    return false;
  }
  auto* handle =
      cell->kind == kZoneHandleKind ? dynamic_cast<TextFileHandle*>(cell->object) : nullptr;
  auto* stream = handle != nullptr ? dynamic_cast<SharedZoneStream*>(&handle->stream()) : nullptr;
  SharedZone* zone = stream != nullptr ? &stream->zone() : nullptr;
  if (zone == nullptr) {
    RaiseError(proxy, kNotAZone, {index});
    return false;
  }
  std::vector<ce::HANDLE> acknowledgements;
  for (const uint32_t pid : zone->OtherProcesses()) {
    const ce::HANDLE handle = ce::OpenSemaphoreW(
        ce::SYNCHRONIZE, ce::FALSE, ZoneSemaphoreName(zone->objectName(), u'F', pid).c_str());
    if (handle != nullptr) acknowledgements.push_back(handle);
  }
  bool complete = true;
  if (!acknowledgements.empty()) {
    const ce::DWORD limit = milliseconds < 1 ? ce::INFINITE
                                             : static_cast<ce::DWORD>(std::min<int64_t>(
                                                   milliseconds, ce::INFINITE - 1));
    const ce::DWORD result =
        ce::WaitForMultipleObjects(static_cast<ce::DWORD>(acknowledgements.size()),
                                   acknowledgements.data(), ce::TRUE, limit);
    complete = result != ce::WAIT_TIMEOUT && result != ce::WAIT_FAILED;
    // The wait only observes: the acknowledgements stay for the next writer.
    if (complete) {
      for (const ce::HANDLE handle : acknowledgements) ce::ReleaseSemaphore(handle, 1, nullptr);
    }
  }
  for (const ce::HANDLE handle : acknowledgements) ce::CloseHandle(handle);
  return complete;
}

}  // namespace tq
