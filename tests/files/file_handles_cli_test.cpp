// File handles as the VM sees them: encodings, line ends, the end-of-file mark, handle numbers.
#include "tests/files/cli_support.h"

namespace {

using tqtest::ErrorLevel;
using tqtest::ResultText;

class FileHandles : public tqtest::FreshDevice {};

TEST_F(FileHandles, LinesAreReadUpToCrLfOnly) {
  Write("lines.txt", "one\r\ntwo\nstill two\rand\r\n\r\nlast");
  const auto records = Script(
      "h = FileOpen '\\lines.txt' i:8193\n"
      "FileReadLine $h\nFileReadLine $h\nFileReadLine $h\nFileReadLine $h\nFileReadLine $h\n"
      "FileReadLine $h\nFileSeek $h l:5 i:0\nFileReadLine $h\nFileSeek $h l:0 i:1\n"
      "FileClose $h\n");
  // After the second seek: just behind the CR LF of the line read.
  const char* expected[] = {"2",    "one", "two\nstill two\rand", "",   "last", "\x04",
                            "\x04", "5",   "two\nstill two\rand", "24", "0"};
  ASSERT_EQ(records.size(), std::size(expected));
  for (size_t i = 0; i < records.size(); ++i) EXPECT_EQ(ResultText(records[i]), expected[i]) << i;
}

TEST_F(FileHandles, UnicodeFilesAndTheirByteOrderMark) {
  const auto records = Script(
      "h = FileCreate '\\u.txt' i:4096\nFileWriteLine $h 'caf\xc3\xa9'\n"
      "FileWriteLine $h 'abcdef' i:4\nFileClose $h\n"
      "h = FileOpen '\\U.TXT' i:4097\nFileReadLine $h\nFileReadLine $h\nFileClose $h\n"
      "a = FileCreate '\\a.txt' i:8192\nFileWriteLine $a 'caf\xc3\xa9'\nFileClose $a\n");
  ASSERT_EQ(records.size(), 11u);
  EXPECT_EQ(ResultText(records[5]), "caf\xc3\xa9");
  EXPECT_EQ(ResultText(records[6]), "ab");
  EXPECT_EQ(Read("u.txt"), std::string("\xff\xfe" "c\0a\0f\0\xe9\0\r\0\n\0a\0b\0\r\0\n\0", 22));
  EXPECT_EQ(Read("a.txt"), "caf\xe9\r\n");

  Write("nobom.txt", std::string("h\0i\0\r\0\n\0", 8));
  const auto more = Script("h = FileOpen '\\nobom.txt' i:4097\nFileReadLine $h\n"
                           "t = FileCreate '\\nobom.txt' i:4096\nFileClose $t\n");
  EXPECT_EQ(ResultText(more[1]), "hi");
  EXPECT_EQ(Read("nobom.txt"), "\xff\xfe");
}

// Characters whose bytes hold 0D or 0A (U+0D0D, U+0A0D, U+0D0A) and an odd offset never end
// a Unicode line: only the units CR then LF do.
TEST_F(FileHandles, UnicodeLineEndsAreWholeUnits) {
  Write("w.txt", std::string("\xff\xfe" "a\0\r\0\x0d\x0d\x0d\x0a\x0a\x0dx\0\r\0\n\0z\0", 20));
  const auto records = Script("h = FileOpen '\\w.txt' i:4097\nFileReadLine $h\nFileReadLine $h\n"
                              "FileSeek $h l:3 i:0\nFileReadLine $h\nFileReadLine $h\n");
  ASSERT_EQ(records.size(), 6u);
  EXPECT_EQ(ResultText(records[1]), "a\r\xe0\xb4\x8d\xe0\xa8\x8d\xe0\xb4\x8ax");
  EXPECT_EQ(ResultText(records[2]), "z");
  // From byte 3 the units are shifted: no CR LF pair lines up, the rest is one line.
  EXPECT_NE(ResultText(records[4]), "\x04");
  EXPECT_EQ(ResultText(records[5]), "\x04");
}

TEST_F(FileHandles, AppendOpenAlwaysAndTruncation) {
  Write("log.txt", "first\r\n");
  Script("h = FileOpen '\\log.txt' i:10242\nFileWriteLine $h 'second'\nFileClose $h\n"
         "n = FileOpen '\\new.txt' i:8450\nFileWriteLine $n 'x'\nFileClose $n\n");
  EXPECT_EQ(Read("log.txt"), "first\r\nsecond\r\n");
  EXPECT_EQ(Read("new.txt"), "x\r\n");
  Script("h = FileCreate '\\log.txt' i:8192\nFileClose $h\n");
  EXPECT_EQ(Read("log.txt"), "");
}

TEST_F(FileHandles, BadHandlesPathsAndOriginsGetTheirErrors) {
  const auto records = Cases({
      {"FileReadLine i:0", "", 80022},
      {"FileClose i:1", "-1", 80022},
      {"FileWriteLine i:7 'x'", "false", 80022},
      {"FileSeek i:2 l:0 i:0", "-1", 80022},
      {"h = FileCreate '\\f.txt'", "2"},
      {"FileSeek $h l:0 i:3", "-1", 80023},
      {"FileSeek $h l:-5 i:0", "-1"},  // the stream's own error, at level 2
      {"FileClose $h", "0"},
      {"FileClose $h", "-1", 80022},
      {"FileOpen 'relative.txt'", "-1", 80600},
      {"FileOpen ''", "-1", 80600},
      {"FileOpen '\\missing.txt'", "-1"},
      {"FileOpen '\\..\\..\\etc\\passwd'", "-1"},  // \etc does not exist inside the root
      {"FileWriteLine $h i:1 i:4", "false", 80022},
      {"g = FileCreate '\\g.txt'", "2"},
      {"FileWriteLine $g i:1 i:4", "false"},  // an address that cannot be read
  });
  ASSERT_EQ(records.size(), 16u);
  EXPECT_EQ(ErrorLevel(records[6]), 2);
  EXPECT_EQ(tqtest::SystemCode(records[11]), 2);
  EXPECT_EQ(tqtest::SystemCode(records[12]), 3);
  EXPECT_EQ(tqtest::SystemCode(records[15]), 998);
}

}  // namespace
