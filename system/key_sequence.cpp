// The key-sequence parser: one recursive-descent pass that queues records as it goes.
#include "system/key_sequence.h"

#include "platform/input.h"
#include "system/key_names.h"

namespace tq {
namespace {

using ce::INPUT;

constexpr uint16_t kShift = 16, kControl = 17, kMenu = 18;

bool IsDigit(char16_t c) { return c >= u'0' && c <= u'9'; }

class Parser {
 public:
  Parser(std::u16string_view text, const KeySequenceContext& context)
      : text_(text), context_(context) {}

  bool Sequence() {
    while (at_ < text_.size()) {
      if (!Item(context_.options, true, 0)) return false;
    }
    return true;
  }

  std::vector<INPUT> TakeQueue() { return std::move(queue_); }

 private:
  bool Push(const INPUT& record) {
    if (queue_.size() >= kMaxQueuedRecords) return false;
    queue_.push_back(record);
    return true;
  }

  bool Key(uint16_t vk, bool release, uint32_t time) {
    INPUT in{};
    in.type = ce::INPUT_KEYBOARD;
    in.ki.wVk = vk;
    in.ki.dwFlags = release ? ce::KEYEVENTF_KEYUP : 0;
    if ((vk >= 33 && vk <= 40) || vk == 46) in.ki.dwFlags |= ce::KEYEVENTF_EXTENDEDKEY;
    in.ki.time = time;
    return Push(in);
  }

  bool Mouse(ce::LONG dx, ce::LONG dy, uint32_t flags, uint32_t time) {
    INPUT in{};
    in.type = ce::INPUT_MOUSE;
    in.mi.dx = dx;
    in.mi.dy = dy;
    in.mi.dwFlags = flags;
    in.mi.time = time;
    return Push(in);
  }

  bool MouseEvent(uint32_t event, uint32_t point, uint32_t time) {
    const int16_t x = static_cast<int16_t>(point & 0xFFFF);
    const int16_t y = static_cast<int16_t>(point >> 16);
    const ce::LONG dx = ce::MulDiv(x, 65535, context_.screenWidth - 1);
    const ce::LONG dy = ce::MulDiv(y, 65535, context_.screenHeight - 1);
    if (!Mouse(dx, dy, ce::MOUSEEVENTF_MOVE | ce::MOUSEEVENTF_ABSOLUTE, time)) return false;
    uint32_t down = 0, up = 0;
    switch (event) {
      case ce::WM_MOUSEMOVE: return true;
      case ce::WM_LBUTTONDOWN: return Mouse(0, 0, ce::MOUSEEVENTF_LEFTDOWN, 0);
      case ce::WM_LBUTTONUP: return Mouse(0, 0, ce::MOUSEEVENTF_LEFTUP, 0);
      case ce::WM_RBUTTONDOWN: return Mouse(0, 0, ce::MOUSEEVENTF_RIGHTDOWN, 0);
      case ce::WM_RBUTTONUP: return Mouse(0, 0, ce::MOUSEEVENTF_RIGHTUP, 0);
      case ce::WM_MBUTTONDOWN: return Mouse(0, 0, ce::MOUSEEVENTF_MIDDLEDOWN, 0);
      case ce::WM_MBUTTONUP: return Mouse(0, 0, ce::MOUSEEVENTF_MIDDLEUP, 0);
      case ce::WM_LBUTTONDBLCLK: down = ce::MOUSEEVENTF_LEFTDOWN, up = ce::MOUSEEVENTF_LEFTUP; break;
      case ce::WM_RBUTTONDBLCLK: down = ce::MOUSEEVENTF_RIGHTDOWN, up = ce::MOUSEEVENTF_RIGHTUP; break;
      default: down = ce::MOUSEEVENTF_MIDDLEDOWN, up = ce::MOUSEEVENTF_MIDDLEUP; break;
    }
    return Mouse(0, 0, down, 0) && Mouse(0, 0, up, 0) && Mouse(0, 0, down, 0) &&
           Mouse(0, 0, up, 0);
  }

  // A decimal number at the cursor (an optional "-" for point parameters); wraps like the
  // 32-bit arithmetic of the device.
  uint32_t Number(bool allowSign) {
    bool negative = false;
    if (allowSign && at_ < text_.size() && text_[at_] == u'-') {
      negative = true;
      ++at_;
    }
    uint32_t value = 0;
    while (at_ < text_.size() && IsDigit(text_[at_])) value = value * 10 + (text_[at_++] - u'0');
    return negative ? 0u - value : value;
  }

  void SkipTo(std::u16string_view stops) {
    while (at_ < text_.size() && stops.find(text_[at_]) == std::u16string_view::npos) ++at_;
  }

  uint32_t ConvertPoint(uint32_t point, bool withTarget) {
    if (!withTarget || !context_.toScreen) return point;
    const ce::POINT p = context_.toScreen(
        ce::POINT{static_cast<int16_t>(point & 0xFFFF), static_cast<int16_t>(point >> 16)});
    return (static_cast<uint32_t>(p.y & 0xFFFF) << 16) | static_cast<uint32_t>(p.x & 0xFFFF);
  }

  bool Braced(uint32_t options, bool withTarget) {
    ++at_;  // "{"
    const std::u16string_view rest = text_.substr(at_);
    const MouseName* mouse = (options & sendoption::kMouseNames) ? FindMouseName(rest) : nullptr;
    const KeyName* key =
        mouse == nullptr && (options & sendoption::kKeyNames) ? FindKeyName(rest) : nullptr;
    if (rest.empty()) return false;
    uint16_t vk = rest[0];
    at_ += mouse ? mouse->name.size() : key ? key->name.size() : 1;
    if (key != nullptr) vk = key->virtualKey;
    uint32_t point = 0;
    if (mouse != nullptr) {
      for (int shift : {0, 16}) {
        if (at_ >= text_.size() || text_[at_] != u',') break;
        ++at_;
        point |= (Number(true) & 0xFFFF) << shift;
        SkipTo(u",: }");
      }
    }
    uint32_t time = 0;
    if (at_ < text_.size() && text_[at_] == u':') {
      if (++at_ >= text_.size() || !IsDigit(text_[at_])) return false;
      time = Number(false);
      SkipTo(u" }");
    }
    uint32_t count = 1;
    if (at_ < text_.size() && text_[at_] == u' ') {
      if (++at_ >= text_.size() || !IsDigit(text_[at_])) return false;
      count = Number(false) & 0xFFFF;
    }
    SkipTo(u"}");
    if (at_ >= text_.size()) return false;
    ++at_;  // "}"
    if (mouse != nullptr) point = ConvertPoint(point, withTarget);
    for (uint32_t i = 0; i < count; ++i) {
      const bool queued =
          mouse ? MouseEvent(mouse->firstEvent, point, time) &&
                      (mouse->secondEvent == 0 || MouseEvent(mouse->secondEvent, point, 0))
                : Key(vk, false, time) && Key(vk, true, 0);
      if (!queued) return false;
    }
    return true;
  }

  bool Item(uint32_t options, bool withTarget, int depth) {
    bool shift = false, control = false, menu = false;
    for (; at_ < text_.size(); ++at_) {
      const char16_t c = text_[at_];
      if (c == u'+') shift = true;
      else if (c == u'^') control = true;
      else if (c == u'%') menu = true;
      else break;
    }
    const uint16_t held[] = {shift ? kShift : uint16_t{0}, control ? kControl : uint16_t{0},
                             menu ? kMenu : uint16_t{0}};
    for (uint16_t vk : held) {
      if (vk != 0 && !Key(vk, false, 0)) return false;
    }
    if (at_ >= text_.size()) return false;
    const char16_t c = text_[at_];
    if (c == u'(') {
      if (depth >= kMaxGroupDepth) return false;
      ++at_;
      for (;;) {
        if (at_ >= text_.size()) return false;
        if (text_[at_] == u')') break;
        if (!Item(sendoption::kKeyNames | sendoption::kMouseNames, false, depth + 1)) return false;
      }
      ++at_;
    } else if (c == u'{') {
      if (!Braced(options, withTarget)) return false;
    } else {
      ++at_;
      if (!Key(c, false, 0) || !Key(c, true, 0)) return false;
    }
    for (uint16_t vk : held) {
      if (vk != 0 && !Key(vk, true, 0)) return false;
    }
    return true;
  }

  std::u16string_view text_;
  const KeySequenceContext& context_;
  size_t at_ = 0;
  std::vector<INPUT> queue_;
};

}  // namespace

std::optional<std::vector<ce::INPUT>> BuildInputQueue(std::u16string_view sequence,
                                                      const KeySequenceContext& context) {
  Parser parser(sequence, context);
  if (!parser.Sequence()) return std::nullopt;
  return parser.TakeQueue();
}

}  // namespace tq
