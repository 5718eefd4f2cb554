#include "platform/base/Url.h"

#include <gtest/gtest.h>

using pf::Url;

TEST(Url, SplitsTheParts) {
  auto url = Url::parse("http://user@example.com:8080/a%20b/c/?q=1&r=%41#frag");
  ASSERT_TRUE(url);
  EXPECT_EQ(url->scheme(), "http");
  EXPECT_EQ(url->host(), "example.com");
  EXPECT_EQ(url->port(), 8080);
  EXPECT_EQ(url->path(), "/a b/c");  // decoded, one trailing "/" dropped
  EXPECT_EQ(url->rawPath(), "/a%20b/c/");
  EXPECT_EQ(url->query(), "q=1&r=%41");  // raw
  EXPECT_EQ(url->fragment(), "frag");
  EXPECT_EQ(url->absoluteString(), "http://user@example.com:8080/a%20b/c/?q=1&r=%41#frag");
}

// No scheme has rules of its own: message URLs (gmsg://host/path?query) split as SplitsTheParts shows.
TEST(Url, SchemesWithoutAnAuthorityAndEmptyParts) {
  auto mail = Url::parse("mailto:someone@example.com?subject=Hi");
  ASSERT_TRUE(mail);
  EXPECT_EQ(mail->scheme(), "mailto");
  EXPECT_FALSE(mail->hasAuthority());
  EXPECT_EQ(mail->resourceSpecifier(), "someone@example.com?subject=Hi");

  auto tel = Url::parse("tel:+15551234");
  ASSERT_TRUE(tel);
  EXPECT_EQ(tel->path(), "+15551234");
  EXPECT_FALSE(tel->query());

  auto bare = Url::parse("http://example.com");
  ASSERT_TRUE(bare);
  EXPECT_EQ(bare->path(), "");
  EXPECT_EQ(Url::parse("http://example.com/")->path(), "/");
  EXPECT_EQ(Url::parse("http://[::1]:80/x")->host(), "::1");
  EXPECT_EQ(Url::parse("http://example.com/?")->query(), "");
}

TEST(Url, RejectsTextsThatAreNoUrl) {
  for (const char* bad : {"http://exa mple.com/", "http://example.com/a b", "http://example.com/%zz",
                          "http://example.com/%4", "http://example.com/%", "http://ex<ample>.com",
                          "http://example.com/\"q\"", "http://exämple.com/", "http://[::1/",
                          "http://example.com:80a/", " http://example.com", "ht tp://x"}) {
    EXPECT_FALSE(Url::parse(bad)) << bad;
  }
  EXPECT_FALSE(Url::parse(std::string_view("http://a/\0b", 11)));
}

TEST(Url, AcceptsWhatRfc3986Allows) {
  for (const char* good : {"http://example.com/~user/a-b_c.d!$&'()*+,;=:@/",
                           "http://example.com/?a=b/c?d", "urn:isbn:0451450523", "/relative/path",
                           "relative?x", "#only-fragment", "", "http://127.0.0.1:47312/ad?x=%E2%82%AC",
                           "file:///tmp/x"}) {
    EXPECT_TRUE(Url::parse(good)) << good;
  }
}

TEST(Url, ResolvesAgainstABase) {
  auto base = Url::parse("http://example.com/a/b/c?q#f");
  ASSERT_TRUE(base);
  EXPECT_EQ(Url::parse("d", *base)->absoluteString(), "http://example.com/a/b/d");
  EXPECT_EQ(Url::parse("../d", *base)->absoluteString(), "http://example.com/a/d");
  EXPECT_EQ(Url::parse("/d?x=1", *base)->absoluteString(), "http://example.com/d?x=1");
  EXPECT_EQ(Url::parse("//other.org/z", *base)->absoluteString(), "http://other.org/z");
  EXPECT_EQ(Url::parse("https://x.org/", *base)->absoluteString(), "https://x.org/");
  EXPECT_FALSE(Url::parse("a b", *base));
  EXPECT_FALSE(Url::parse("x", *Url::parse("/relative")));
}

TEST(Url, PercentDecodingFailsOnABadEscape) {
  EXPECT_EQ(Url::percentDecode("a%20b%2Fc"), "a b/c");
  EXPECT_EQ(Url::percentDecode("%e2%82%ac"), "\xe2\x82\xac");
  EXPECT_EQ(Url::percentDecode("a+b"), "a+b");
  for (const char* bad : {"%", "%4", "%g0", "ab%"}) EXPECT_FALSE(Url::percentDecode(bad)) << bad;
  EXPECT_EQ(Url::percentDecode("%00"), std::string(1, '\0'));

  // Truncated, overlong, a surrogate, past U+10FFFF.
  for (const char* bad : {"%C3", "%C0%80", "%ED%A0%80", "%F4%90%80%80"})
    EXPECT_FALSE(Url::percentDecodeUtf8(bad)) << bad;
  EXPECT_EQ(Url::percentDecodeUtf8("%F0%9F%98%80"), "\xF0\x9F\x98\x80");
  EXPECT_EQ(Url::parse("http://x/%C3")->path(), "");  // not UTF-8: no path text
}
