// UriExtract: each part of the URI on its own, parts concatenated in table order, and the
// URIs the expression reads in a surprising but defined way.
#include <gtest/gtest.h>

#include <string>

#include "frame/text.h"
#include "net/uri_extract.h"

namespace tq {
namespace {

using namespace uripart;

struct Case {
  const char16_t* uri;
  int32_t mask;
  const char16_t* parts;
};

TEST(UriExtract, EachPartAndCombinations) {
  const char16_t* full = u"ftp://u:p@h:8080/a/b/page.html?x=1#top";
  const Case cases[] = {
      {full, kScheme, u"ftp"},
      {full, kUser, u"u"},
      {full, kPassword, u"p"},
      {full, kHost, u"h"},
      {full, kPort, u"8080"},
      {full, kFolder, u"/a/b/"},
      {full, kFileName, u"page"},
      {full, kExtension, u".html"},
      {full, kQuery, u"x=1"},
      {full, kFragment, u"top"},
      {full, 1023, u"ftpuph8080/a/b/page.htmlx=1top"},
      {full, 0, u""},
      {full, 1024 | 2048, u""},  // bits above 512 select nothing
      {u"www.example.com", kHost, u"www.example.com"},
      {u"www.example.com", kScheme, u""},
      {u"http://h/archive.tar.gz", kFileName, u"archive"},
      {u"http://h/archive.tar.gz", kExtension, u".tar.gz"},
      {u"http://user@host/", kUser | kPassword | kHost, u"userhost"},
      {u"http://:secret@host", kPassword, u"secret"},
      {u"mailto:someone@example.org", kScheme, u"mailto"},
      {u"mailto:someone@example.org", kUser | kHost, u"someoneexample.org"},
      {u"/only/a/path/", kFolder, u"/a/path/"},     // the first segment reads as the host
      {u"/only/a/path/", kHost | kFileName, u"only"},
      {u"http://h?q#f", kQuery | kFragment, u"qf"},
      {u"http://h:/x", kPort, u""},                 // an empty port
      {u"http://h/d\u00e9j\u00e0/\u20ac.txt", kFolder | kFileName, u"/d\u00e9j\u00e0/\u20ac"},
      {u"http://h/a b/c d.e f", kFolder | kFileName | kExtension, u"/a b/c d.e f"},
      {u"", kHost, u""},
  };
  for (const Case& c : cases)
    EXPECT_EQ(UriExtract(c.uri, c.mask), c.parts) << Utf16ToUtf8(c.uri) << " mask " << c.mask;
}

TEST(UriExtract, CharactersOutsideCodePage1252) {
  // Each unit is one byte for the engine, so offsets still fall on the caller's characters;
  // a unit outside the page reads as the device's replacement '?', which starts a query.
  EXPECT_EQ(UriExtract(u"http://h/\u0100x.y", kFileName | kQuery), u"x.y");
  EXPECT_EQ(UriExtract(u"http://h/\U0001F600x", kQuery), u"\xDE00x");
}

TEST(UriExtract, LongUris) {
  std::u16string folder;
  for (int i = 0; i < 2000; ++i) folder += u"/segment";
  const std::u16string uri = u"https://example.org" + folder + u"/file.ext?k=v";
  EXPECT_EQ(UriExtract(uri, kFolder), folder + u"/");
  EXPECT_EQ(UriExtract(uri, kExtension | kQuery), u".extk=v");
}

}  // namespace
}  // namespace tq
