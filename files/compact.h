// nfCompacte: compresses one file into another with the "-lh5-" coder, inside the product's
// single-file container, or copies it unchanged when compression would not make it smaller.
//
// Container (little-endian): 0x20; "-lh5-" and a zero byte; packed size (4); uncompressed
// size (4); the source path in code page 1252, zero-filled to 260 bytes; 9 zero bytes; the
// packed data; two zero bytes.
//
// Invariants: a result other than 0 never leaves a partial archive presented as complete (a
// cancelled compression deletes the destination); the destination's file times are the
// source's after success. Progress goes at most every 500 ms to the progress window that the
// host process offers (see ProgressWindow), which also holds the cancel flag.
#pragma once

#include <cstdint>
#include <string_view>

namespace tq {

namespace compact {
inline constexpr uint16_t kDone = 0;
inline constexpr uint16_t kSourceUnreadable = 1;
inline constexpr uint16_t kDestinationNotCreated = 2;
inline constexpr uint16_t kFailed = 4;
inline constexpr uint16_t kOutOfMemory = 5;
inline constexpr uint16_t kCancelled = 6;
inline constexpr uint16_t kFailedVolumeFull = 7;
inline constexpr uint16_t kSourceTooLarge = 8;

inline constexpr uint32_t kProgressMessage = 1174;
inline constexpr uint32_t kHeaderBytes = 284;
}  // namespace compact

// The progress window of the host process: the library finds these two functions among the
// process's exported symbols ("tq240ProgressMessage" receives (message, percent, 0) and
// dispatches the pending messages; "tq240CancelFlag" reads the cancel flag). A process that
// exports neither gets no progress and cannot cancel.
struct ProgressWindow {
  void (*send)(uint32_t message, uintptr_t wParam, intptr_t lParam) = nullptr;
  int32_t (*cancelFlag)() = nullptr;
};
ProgressWindow FindProgressWindow();

uint16_t Compact(std::u16string_view source, std::u16string_view destination);

}  // namespace tq
