// `tq240 describe` with the error ids the catalog lists: the ids in catalog order with the
// message of each in the language the VM hands over, and an id without an error definition.
#include <gtest/gtest.h>

#include <optional>

#include "tests/support/tq240_process.h"

namespace {

using tqtest::RunTq240;

std::vector<std::pair<int64_t, std::string>> DescribedErrors(const std::string& language,
                                                             const std::string& function) {
  const tqtest::Tq240Result r = RunTq240({"--json", "--lang", language, "describe", function});
  EXPECT_EQ(r.exitStatus, 0) << r.err;
  const std::optional<tqhost::JsonValue> record = tqhost::ParseJson(r.out);
  std::vector<std::pair<int64_t, std::string>> errors;
  if (!record || record->find("errors") == nullptr) {
    ADD_FAILURE() << r.out;
    return errors;
  }
  for (const tqhost::JsonValue& e : record->find("errors")->elements)
    errors.emplace_back(e.find("id")->integer, e.find("message")->text);
  return errors;
}

TEST(DescribeErrors, IdsInOrderWithTheirMessageInEachLanguage) {
  const auto english = DescribedErrors("9", "SharedZoneOpen");
  const auto french = DescribedErrors("12", "393");
  ASSERT_EQ(english.size(), 3u);
  ASSERT_EQ(french.size(), 3u);
  const int64_t ids[] = {80041, 81508, 81510};
  for (size_t i = 0; i < 3; ++i) {
    EXPECT_EQ(english[i].first, ids[i]);
    EXPECT_EQ(french[i].first, ids[i]);
    EXPECT_FALSE(english[i].second.empty()) << ids[i];
    EXPECT_NE(english[i].second, french[i].second) << ids[i];
  }
  EXPECT_EQ(english[0].second, "Not enough memory.");
  // A record sharing another's overloads lists its ids too.
  EXPECT_EQ(DescribedErrors("9", "353"), DescribedErrors("9", "342"));
}

TEST(DescribeErrors, AnIdWithoutDefinitionIsShownAsSuch) {
  const tqtest::Tq240Result r = RunTq240({"--lang", "9", "describe", "GeneratePassword"});
  ASSERT_EQ(r.exitStatus, 0) << r.err;
  EXPECT_NE(r.out.find("errors:\n  80041  Not enough memory.\n  81844  (no error definition"),
            std::string::npos)
      << r.out;
  EXPECT_EQ(RunTq240({"describe", "IsEven"}).out.find("errors:"), std::string::npos);
}

}  // namespace
