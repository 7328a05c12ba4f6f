// The parser follows the expression piece by piece, each piece trying its choices in the
// engine's priority order and calling the rest of the expression for each; a piece records
// its groups only once the rest has matched, so a branch that fails leaves nothing behind.
//
// Most pieces have a single choice that can succeed, which is why the walk is linear:
// - scheme "(([^:/@.?#]*):)?": the run must end at the first of ":/@.?#", and that must be
//   a ':'; tried first, dropped when the rest fails.
// - slashes "\/?\/?": two, one, then none, as far as the text has them.
// - user information "(([^:/@]*)?:?([^@]*)?@)?": whatever the split between user and
//   password, it ends at the first '@'; the user takes the longest run, a ':' after it is
//   taken, the password is the rest up to the '@' (it may hold ':' and '/').
// - host "([^:/@?#]*)?": always its longest run. A shorter host would hand host characters to
//   the file name, and the rest fails there exactly when it fails after the longest run.
// - port "(:([0-9]*))?": all the digits after a ':'. When the rest fails there it fails after
//   fewer digits too, and without the port (the ':' would have to start a file name).
// - path: a leading '/' makes the folder run to the last '/' of the text (".*" greedy; a
//   second repetition would need a later '/'), and after the last '/' the rest always
//   matches. Without a '/', the file name and extension must reach a '?', a '#' or the end
//   before any '/'.
// - query and fragment: a '?' starts the query, which runs to the first '#'; a '#' starts
//   the fragment, which runs to the end.
#include "net/uri_parts.h"

#include "platform/code_page_1252.h"

namespace tq {
namespace {

// A position past the end of the text reads as this value, which matches no character.
constexpr char16_t kEnd = 0x100;
// Every byte from 0x80 up reads as this one: none of them is special to the expression.
constexpr char16_t kOtherByte = 0x80;

// The byte the engine sees for `unit`, folded to kOtherByte when it is not ASCII.
inline char16_t EngineByte(char16_t unit) {
  if (unit < 0x80) return unit;
  if (unit >= 0xA0 && unit <= 0xFF) return kOtherByte;  // the page's Latin-1 half
  return ce::EncodeCp1252(unit) ? kOtherByte : u'?';
}

// A set of ASCII characters that end a run.
struct Stops {
  uint64_t low = 0;
  uint64_t high = 0;
  constexpr explicit Stops(const char* chars) {
    for (; *chars != '\0'; ++chars) {
      const unsigned c = static_cast<unsigned char>(*chars);
      (c < 64 ? low : high) |= uint64_t{1} << (c % 64);
    }
  }
  constexpr bool has(char16_t b) const {
    return b < 64 ? (low >> b) & 1 : b < 128 && ((high >> (b - 64)) & 1);
  }
};

constexpr Stops kSchemeStops(":/@.?#");
constexpr Stops kUserStops(":/@");
constexpr Stops kAt("@");
constexpr Stops kHostStops(":/@?#");
constexpr Stops kFileNameStops("/.?#");
constexpr Stops kExtensionStops("/?#");
constexpr Stops kHash("#");

class UriParser {
 public:
  explicit UriParser(std::u16string_view text) : text_(text), size_(text.size()) {}

  UriMatch Run() {
    if (size_ > kUriLongestText) return match_;
    const size_t colon = RunEnd(0, kSchemeStops);
    if (At(colon) == u':' && Authority(colon + 1)) {
      Set(1, 0, colon + 1);
      Set(2, 0, colon);
    } else if (!Authority(0)) {
      return match_;
    }
    match_.matched = true;
    Set(0, 0, size_);
    return match_;
  }

 private:
  char16_t At(size_t i) const { return i < size_ ? EngineByte(text_[i]) : kEnd; }

  // The end of the run from `from` that holds none of `stops`.
  size_t RunEnd(size_t from, const Stops& stops) const {
    while (from < size_ && !stops.has(EngineByte(text_[from]))) ++from;
    return from;
  }

  void Set(size_t group, size_t start, size_t end) {
    match_.groups[group] = {static_cast<int64_t>(start), static_cast<int64_t>(end)};
  }

  // Slashes, user information, host and the rest, from `p`.
  bool Authority(size_t p) {
    size_t slashes = 0;
    while (slashes < 2 && At(p + slashes) == u'/') ++slashes;
    // With fewer slashes the user information would end at the same '@', before the same
    // rest, so it is tried with the most slashes only.
    const size_t begin = p + slashes;
    const size_t at = RunEnd(begin, kAt);
    if (at < size_ && UserInformation(begin, at)) return true;
    for (size_t taken = slashes + 1; taken-- > 0;)
      if (Host(p + taken)) return true;
    return false;
  }

  bool UserInformation(size_t begin, size_t at) {
    if (!Host(at + 1)) return false;
    const size_t userEnd = RunEnd(begin, kUserStops);
    Set(3, begin, at + 1);
    Set(4, begin, userEnd);
    Set(5, At(userEnd) == u':' ? userEnd + 1 : userEnd, at);
    return true;
  }

  bool Host(size_t begin) {
    const size_t end = RunEnd(begin, kHostStops);
    if (!Port(end)) return false;
    Set(6, begin, end);
    return true;
  }

  bool Port(size_t p) {
    if (At(p) != u':') return Path(p);
    size_t digits = p + 1;
    while (At(digits) >= u'0' && At(digits) <= u'9') ++digits;
    if (!Path(digits)) return false;
    Set(7, p, digits);
    Set(8, p + 1, digits);
    return true;
  }

  bool Path(size_t p) {
    if (At(p) != u'/') return FileNameAndRest(p, p);
    size_t lastSlash = size_;
    while (At(--lastSlash) != u'/') {
    }
    FileNameAndRest(p, lastSlash + 1);  // no '/' follows: always matches
    Set(10, p, lastSlash + 1);
    if (lastSlash > p) Set(11, p + 1, lastSlash + 1);
    return true;
  }

  // File name, extension, query and fragment from `p`; the whole path began at `pathBegin`.
  bool FileNameAndRest(size_t pathBegin, size_t p) {
    const size_t nameEnd = RunEnd(p, kFileNameStops);
    size_t pathEnd = nameEnd;
    if (At(nameEnd) == u'.') pathEnd = RunEnd(nameEnd + 1, kExtensionStops);
    if (At(pathEnd) == u'/') return false;
    Set(9, pathBegin, pathEnd);
    if (nameEnd > p) Set(12, p, nameEnd);
    if (pathEnd > nameEnd) {
      Set(13, nameEnd, pathEnd);
      Set(14, nameEnd + 1, pathEnd);
    }
    size_t rest = pathEnd;
    if (At(rest) == u'?') {
      const size_t hash = RunEnd(rest + 1, kHash);
      Set(15, rest, hash);
      Set(16, rest + 1, hash);
      rest = hash;
    }
    if (At(rest) == u'#') {
      Set(17, rest, size_);
      Set(18, rest + 1, size_);
    }
    return true;
  }

  std::u16string_view text_;
  size_t size_;
  UriMatch match_;
};

}  // namespace

UriMatch ParseUriParts(std::u16string_view uri) { return UriParser(uri).Run(); }

}  // namespace tq
