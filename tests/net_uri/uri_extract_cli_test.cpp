// UriExtract as the VM calls it: the URI passed by reference as a VM string, the result a
// string value (type 16).
#include <gtest/gtest.h>

#include "tests/support/tq240_process.h"

namespace {

TEST(UriExtractCall, ResultTypeAndParts) {
  const tqhost::JsonValue r =
      tqtest::CallJson({}, "UriExtract", {"https://me:pw@example.org:8443/docs/a.pdf?v=2#p3", "24"});
  ASSERT_NE(r.find("result"), nullptr);
  EXPECT_EQ(r.find("result")->find("type")->number, 16);
  EXPECT_EQ(r.find("result")->find("value")->text, "example.org8443");
  EXPECT_EQ(r.find("error")->find("level")->number, 1);
  // One slash taken: an empty host, "/h:80x/" a folder.
  const tqhost::JsonValue emptyHost = tqtest::CallJson({}, "UriExtract", {"http://h:80x/", "8"});
  EXPECT_EQ(emptyHost.find("result")->find("value")->text, "");
}

}  // namespace
