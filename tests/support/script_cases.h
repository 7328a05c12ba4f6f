// Table-driven checks of standard functions through tq240: the cases' lines run as one script,
// and each record's result value and error id must be the case's.
#pragma once

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "tests/support/tq240_process.h"

namespace tqtest {

// A result value as text: strings as they are, booleans as true/false, integers exactly, reals
// to 17 digits, arrays joined with commas, "null" otherwise.
inline std::string Rendered(const tqhost::JsonValue& v) {
  using Kind = tqhost::JsonValue::Kind;
  switch (v.kind) {
    case Kind::kString:
      return v.text;
    case Kind::kBoolean:
      return v.boolean ? "true" : "false";
    case Kind::kNumber: {
      if (v.integral) return std::to_string(v.integer);
      std::ostringstream out;
      out.precision(17);
      out << v.number;
      return out.str();
    }
    case Kind::kArray: {
      std::string joined;
      for (const tqhost::JsonValue& e : v.elements) {
        joined += (joined.empty() ? "" : ",") + Rendered(e);
      }
      return joined;
    }
    default:
      return "null";
  }
}

// The rendered result value of a record; "none" when the entry set no result.
inline std::string RenderedResult(const tqhost::JsonValue& record) {
  const tqhost::JsonValue* value = Field(record, "result").find("value");
  return value != nullptr ? Rendered(*value) : "none";
}

struct ScriptCase {
  std::string line;    // one script line
  std::string result;  // the rendered result value
  int64_t error = 0;   // the error id, 0 for none
};

// Runs the cases' lines as one script with `options` before it, checks every record against
// its case, and gives the records for further checks.
inline std::vector<tqhost::JsonValue> RunScriptCases(const std::vector<std::string>& options,
                                                     const std::vector<ScriptCase>& cases) {
  std::string script;
  for (const ScriptCase& c : cases) script += c.line + "\n";
  std::vector<tqhost::JsonValue> records = ScriptRecords(script, options);
  EXPECT_EQ(records.size(), cases.size());
  for (size_t i = 0; i < records.size() && i < cases.size(); ++i) {
    EXPECT_EQ(RenderedResult(records[i]), cases[i].result) << cases[i].line;
    EXPECT_NE(records[i].find("error"), nullptr) << cases[i].line;
    EXPECT_EQ(Field(records[i], "error", "id").integer, cases[i].error) << cases[i].line;
  }
  return records;
}

}  // namespace tqtest
