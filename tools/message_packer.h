// Packing of message texts into the digit form that frame/message_unpacker.h reads.
//
// The packer looks for the shortest packed form: a dynamic program over (text position, locked
// table, digit position inside the current pair) weighs plain symbols, single shifts, locks,
// one-byte escapes and counted escapes (runs of up to 255 literal bytes). A last pair with two
// digits is padded with a lock of the table already locked, which changes nothing; a last lone
// digit uses the one-byte form.
//
// Invariant: UnpackMessageText(PackMessageText(text)) gives back `text` exactly, for any bytes.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

namespace tq::tools {

std::vector<uint8_t> PackMessageText(std::span<const uint8_t> text);

}  // namespace tq::tools
