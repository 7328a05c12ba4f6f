// Parameter names, INI sections, value escaping and group keys.
#include "system/parameter_names.h"

#include <gtest/gtest.h>

namespace tq {
namespace {

TEST(ParameterNames, SplitAndSection) {
  struct Case {
    std::u16string_view name, group, value, section;
  };
  const Case cases[] = {
      {u"Window.Main.Size", u"Window\\Main", u"Size", u"Window_Main"},
      {u"a/b\\c", u"a\\b", u"c", u"a_b"},
      {u"Plain", u"", u"Plain", u"Global"},
      {u"\\Lead.x", u"\\Lead", u"x", u"Lead"},
      {u"my group-one\tx.v", u"my group-one\tx", u"v", u"my_group_one_x"},
      {u"Trailing.", u"Trailing", u"", u"Trailing"},
  };
  for (const Case& c : cases) {
    const ParameterName split = SplitParameterName(c.name);
    EXPECT_EQ(split.group, c.group);
    EXPECT_EQ(split.value, c.value);
    EXPECT_EQ(ParameterSection(split.group), c.section);
  }
}

TEST(ParameterNames, EscapingRoundTrips) {
  struct Case {
    std::u16string_view text, escaped;
  };
  const Case cases[] = {
      {u"a b\nc", u"a\\_b\\nc"},
      {u"C:\\dir\\", u"C:\\\\dir\\\\"},
      {u"\r\n\t ", u"\\r\\n\\t\\_"},
      {u"", u""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(EscapeParameterText(c.text), c.escaped);
    EXPECT_EQ(UnescapeParameterText(c.escaped), c.text);
  }
  // An unknown escape stays as it is, and so does a final lone backslash.
  EXPECT_EQ(UnescapeParameterText(u"\\x\\"), u"\\x\\");
}

TEST(ParameterNames, GroupKeys) {
  EXPECT_EQ(ParameterGroupKey(u"Software\\App", u"Win"), u"Software\\App\\Win");
  EXPECT_EQ(ParameterGroupKey(u"Software\\App\\", u"Win"), u"Software\\App\\Win");
  EXPECT_EQ(ParameterGroupKey(u"Software\\\\App", u""), u"Software\\App");
  EXPECT_EQ(ParameterGroupKey(u"Software\\App", u"\\Win"), u"Software\\App\\Win");
}

}  // namespace
}  // namespace tq
