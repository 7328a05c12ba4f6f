// The key-sequence parser: what each sequence queues, written compactly (k/K key press or
// release with its code, e for the extended flag, @N for a time; m move dx,dy; L l R r M m
// button down/up), and which sequences queue nothing at all.
#include <gtest/gtest.h>

#include <string>

#include "system/key_names.h"
#include "system/key_sequence.h"

namespace {

using tq::BuildInputQueue;
using tq::KeySequenceContext;

std::string Describe(const std::vector<ce::INPUT>& queue) {
  std::string out;
  for (const ce::INPUT& in : queue) {
    if (!out.empty()) out += ' ';
    if (in.type == ce::INPUT_KEYBOARD) {
      out += (in.ki.dwFlags & ce::KEYEVENTF_KEYUP) ? 'K' : 'k';
      out += std::to_string(in.ki.wVk);
      if (in.ki.dwFlags & ce::KEYEVENTF_EXTENDEDKEY) out += 'e';
      if (in.ki.time != 0) out += '@' + std::to_string(in.ki.time);
      continue;
    }
    switch (in.mi.dwFlags) {
      case 0x8001: out += "m" + std::to_string(in.mi.dx) + "," + std::to_string(in.mi.dy); break;
      case 2: out += 'L'; break;
      case 4: out += 'l'; break;
      case 8: out += 'R'; break;
      case 16: out += 'r'; break;
      case 32: out += 'M'; break;
      case 64: out += 'n'; break;
      default: out += '?';
    }
    if (in.mi.time != 0) out += '@' + std::to_string(in.mi.time);
  }
  return out;
}

std::string Queue(std::u16string_view sequence, uint32_t options = 1) {
  KeySequenceContext context;
  context.options = options;
  context.screenWidth = 65536;  // dx = x
  context.screenHeight = 65536;
  auto queue = BuildInputQueue(sequence, context);
  return queue ? Describe(*queue) : "FAIL";
}

TEST(KeySequence, CharactersModifiersGroupsKeyNamesTimesAndCounts) {
  struct Case {
    std::u16string_view sequence;
    const char* queue;
  };
  const Case cases[] = {
      {u"", ""},
      {u"a", "k97 K97"},
      {u"{a}", "k97 K97"},
      {u"+a", "k16 k97 K97 K16"},
      {u"%^+a", "k16 k17 k18 k97 K97 K16 K17 K18"},
      {u"+(ab)", "k16 k97 K97 k98 K98 K16"},
      {u"(a(b))", "k97 K97 k98 K98"},
      {u"{+}{^}{%}{(}{)}", "k43 K43 k94 K94 k37e K37e k40e K40e k41 K41"},
      {u")", "k41 K41"},
      {u"!", "k33e K33e"},
      {u"+", "FAIL"},
      {u"(ab", "FAIL"},
      {u"{ab", "FAIL"},
      {u"{", "FAIL"},
      {u"(", "FAIL"},
      {u"x+", "FAIL"},
      {u"{F1}", "k112 K112"},
      {u"{F12}", "k123 K123"},
      {u"{f10}", "k121 K121"},
      {u"{DELETE}", "k46e K46e"},
      {u"{entree}{ENTER}", "k13 K13 k13 K13"},
      {u"{NUM+}{NUM-}", "k107 K107 k109 K109"},
      {u"{PGUP}{pgdn}{HOME}{FIN}", "k33e K33e k34e K34e k36e K36e k35e K35e"},
      {u"{TAB 3}", "k9 K9 k9 K9 k9 K9"},
      {u"{TAB 0}x", "k120 K120"},
      {u"{TAB:50}", "k9@50 K9"},
      {u"{TAB:50 2}", "k9@50 K9 k9@50 K9"},
      {u"{TAB:x}", "FAIL"},
      {u"a{TAB:x}", "FAIL"},
      {u"{TAB x}", "FAIL"},
      {u"{TAB 65537}", "k9 K9"},
      {u"{TABULATION}", "k9 K9"},
      {u"^{ESC}", "k17 k27 K27 K17"},
  };
  for (const Case& c : cases)
    EXPECT_EQ(Queue(c.sequence), c.queue) << std::string(c.sequence.begin(), c.sequence.end());
}

TEST(KeySequence, MouseNamesNeedTheirOptionAndTakeAPoint) {
  struct Case {
    std::u16string_view sequence;
    uint32_t options;
    const char* queue;
  };
  const Case cases[] = {
      {u"{SOURIS,10,20}", 2, "m10,20"},
      {u"{MOUSE,-3,7}", 2, "m-3,7"},
      {u"{BTNGAUCHE,10,20}", 2, "m10,20 L m10,20 l"},
      {u"{LEFTBTN+,1,2}{LEFTBTN-,1,2}", 2, "m1,2 L m1,2 l"},
      {u"{BTNGAUCHE2,5,5}", 2, "m5,5 L l L l"},
      {u"{RIGHTBTN,5,6:9}", 2, "m5,6@9 R m5,6 r"},
      {u"{BTNDROIT2,1,1}", 2, "m1,1 R r R r"},
      {u"{MIDDLEBTN,1,1 2}", 2, "m1,1 M m1,1 n m1,1 M m1,1 n"},
      {u"{BTNMILIEU2,0,0}", 2, "m0,0 M n M n"},
      {u"{SOURIS,10,20}", 1, "k83 K83"},
      {u"({SOURIS,4,4}{TAB})", 0, "m4,4 k9 K9"},
      {u"{SOURIS,10}", 2, "m10,0"},
      {u"{SOURIS,10junk,20}", 2, "m10,20"}, {u"{SOURIS,10 junk}", 2, "FAIL"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Queue(c.sequence, c.options), c.queue)
        << std::string(c.sequence.begin(), c.sequence.end());
  }
}

TEST(KeySequence, PointsScaleToTheScreenAndConvertOnlyOutsideGroups) {
  KeySequenceContext context;
  context.options = 2;
  context.screenWidth = 241;
  context.screenHeight = 1;  // a one-pixel screen gives -1
  context.toScreen = [](ce::POINT p) { return ce::POINT{p.x + 100, p.y}; };
  auto queue = BuildInputQueue(u"{SOURIS,20,5}({SOURIS,20,5})", context);
  ASSERT_TRUE(queue);
  EXPECT_EQ(Describe(*queue), "m32768,-1 m5461,-1");
}

TEST(KeySequence, UntrustedTextCannotExhaustStackOrMemory) {
  EXPECT_EQ(Queue(std::u16string(100000, u'(')), "FAIL");
  std::u16string many;
  for (int i = 0; i < 20; ++i) many += u"{TAB 65535}";
  EXPECT_EQ(Queue(many), "FAIL");
}

TEST(KeyNames, TablesAreSearchedInOrderAsCaseInsensitivePrefixes) {
  EXPECT_EQ(tq::FindKeyName(u"f16")->virtualKey, 127);
  EXPECT_EQ(tq::FindKeyName(u"F1x")->virtualKey, 112);
  EXPECT_EQ(tq::FindKeyName(u"UPPER")->virtualKey, 38);
  EXPECT_EQ(tq::FindKeyName(u"Q"), nullptr);
  EXPECT_EQ(tq::FindMouseName(u"btndroit+,1,2")->firstEvent, ce::WM_RBUTTONDOWN);
  EXPECT_EQ(tq::FindMouseName(u"BTNDROIT,1")->secondEvent, ce::WM_RBUTTONUP);
  EXPECT_EQ(tq::FindClickCode(u"GX10,20")->mouseName, u"BTNGAUCHE");
  EXPECT_EQ(tq::FindClickCode(u"DD1,2")->mouseName, u"BTNDROIT2");
  EXPECT_EQ(tq::FindClickCode(u"10,20"), nullptr);
}

}  // namespace
