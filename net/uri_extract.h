// UriExtract: chosen parts of a URI, read from the capture groups of one fixed regular
// expression and concatenated in a fixed order (scheme, user, password, host, port, folder,
// file name, extension, query, fragment), selected by the bits 1 to 512 of a mask.
//
// The groups come from the direct parser of net/uri_parts.h; MatchUriWithEngine gives the same
// groups from the regular-expression engine and is kept as the reference the parser is checked
// against.
//
// Invariants: a URI the expression does not match, and the mask 0, give the empty text; no
// separator is ever added between parts; bits above 512 are ignored.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "net/uri_parts.h"

namespace tq {

struct CXError;

// The expression, exactly as the URI parser uses it.
extern const char16_t kUriExpression[];

namespace uripart {
inline constexpr int32_t kScheme = 1;
inline constexpr int32_t kUser = 2;
inline constexpr int32_t kPassword = 4;
inline constexpr int32_t kHost = 8;
inline constexpr int32_t kPort = 16;
inline constexpr int32_t kFolder = 32;
inline constexpr int32_t kFileName = 64;
inline constexpr int32_t kExtension = 128;
inline constexpr int32_t kQuery = 256;
inline constexpr int32_t kFragment = 512;
}  // namespace uripart

// The expression matched by the engine, as the pattern-matching functions match a pattern:
// code page 1252 text, an anchored match that must cover the whole URI. A match the engine's
// time bound stops is traced on `errorState` and counts as no match.
UriMatch MatchUriWithEngine(std::u16string_view uri, CXError* errorState = nullptr);

// The parts that `mask` selects, read from `match` (the groups of `uri`).
std::u16string UriPartsText(std::u16string_view uri, const UriMatch& match, int32_t mask);

// The parts of `uri` that `mask` selects (the parser raises nothing: any text gives a result).
std::u16string UriExtract(std::u16string_view uri, int32_t mask);

}  // namespace tq
