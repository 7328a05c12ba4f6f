// The library's exported entry points, as functions of the frame. frame/exports.cpp gives them
// their exported C names; tests call them here directly.
//
// Words that carry handles or pointers are pointer-sized; numbers the VM interprets keep their
// 32-bit values.
#pragma once

#include <cstdint>

namespace tq::entry {

// Execution events.
inline constexpr int32_t kEventStart = 3985;
inline constexpr int32_t kEventStop = 4875;
inline constexpr int32_t kEventParameter = 4878;
inline constexpr int32_t kEvent4879 = 4879;
inline constexpr int32_t kEvent5684 = 5684;
inline constexpr int32_t kEvent5864 = 5864;
inline constexpr int32_t kEventFilter = 4963;
inline constexpr int32_t kEventEnumerate = 5238;

// Proxy ids.
inline constexpr int32_t kProxyComponent = 60;
inline constexpr int32_t kProxyRandom = 6;

int32_t CheckVersion();
int32_t InitLibrary(intptr_t host);
void TermLibrary();
int32_t InitConversion(void* vmModule, int32_t versionFrom, int32_t versionTo, intptr_t reserved);
intptr_t Information(int32_t query, int32_t index);
intptr_t Command(int32_t command, intptr_t argument);
void* QueryProxy(int32_t id);
void DeclareProxies(int32_t* first, int16_t* second, int32_t* third, int16_t* fourth);
int32_t Execute(int32_t event, intptr_t* arguments, int32_t count);

// Static initialisation and the finalisers registered with it.
void LoadLibraryStatics();
void UnloadLibraryStatics();

}  // namespace tq::entry
