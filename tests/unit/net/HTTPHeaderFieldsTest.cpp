// Header fields, requests and responses as values.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "platform/net/HTTPHeaderFields.h"
#include "platform/net/URLRequest.h"
#include "platform/net/URLResponse.h"

using testing::ElementsAre;
using testing::Pair;

namespace {

TEST(HTTPHeaderFieldsTest, NamesIgnoreCaseButKeepTheirFirstSpellingAndOrder) {
  pf::HTTPHeaderFields h;
  h.setValue("text/html", "Content-Type");
  h.addValue("a=1", "Set-Cookie");
  h.addValue("b=2", "set-cookie");
  h.setValue("text/plain", "CONTENT-TYPE");

  EXPECT_EQ(h.value("content-type"), "text/plain");
  EXPECT_EQ(h.value("SET-COOKIE"), "a=1, b=2");
  EXPECT_THAT(h.fields(),
              ElementsAre(Pair("Content-Type", "text/plain"), Pair("Set-Cookie", "a=1, b=2")));
  EXPECT_FALSE(h.value("Content-Typ"));

  h.setValue(std::nullopt, "content-TYPE");
  EXPECT_FALSE(h.contains("Content-Type"));
  EXPECT_EQ(h.size(), 1u);
  EXPECT_EQ(h.toValue()["Set-Cookie"].stringRef(), "a=1, b=2");
}

TEST(HTTPHeaderFieldsTest, EqualityIgnoresCaseOfNamesAndOrderButNotValues) {
  pf::HTTPHeaderFields a{{"A", "1"}, {"B", "2"}};
  pf::HTTPHeaderFields b{{"b", "2"}, {"a", "1"}};
  pf::HTTPHeaderFields c{{"a", "1"}, {"b", "3"}};
  EXPECT_EQ(a, b);
  EXPECT_NE(a, c);
  EXPECT_FALSE(pf::HTTPHeaderFields::namesEqual("Accept", "Accept-Language"));
}

TEST(URLRequestTest, ARequestIsAValueWithRepeatableFields) {
  pf::URLRequest r(*pf::Url::parse("http://h.example/"));
  r.addValueForHTTPHeaderField("gzip", "Accept-Encoding");
  r.addValueForHTTPHeaderField("br", "accept-encoding");
  EXPECT_EQ(r.valueForHTTPHeaderField("ACCEPT-ENCODING"), "gzip, br");
  pf::URLRequest copy = r;
  copy.setValueForHTTPHeaderField("x", "Referer");
  EXPECT_FALSE(r.valueForHTTPHeaderField("Referer"));
  EXPECT_NE(r, copy);
}

pf::URLResponse response(pf::HTTPHeaderFields h) {
  return pf::URLResponse(*pf::Url::parse("http://h.example/"), 200, std::move(h));
}

TEST(URLResponseTest, ContentTypeGivesMimeTypeAndEncoding) {
  auto r = response({{"content-type", "Text/HTML ; Charset=\"UTF-8\""}});
  EXPECT_EQ(r.mimeType(), "text/html");
  EXPECT_EQ(r.textEncodingName(), "UTF-8");

  auto other = response({{"Content-Type", "application/json; profile=x; charset=utf-16"}});
  EXPECT_EQ(other.mimeType(), "application/json");
  EXPECT_EQ(other.textEncodingName(), "utf-16");

  auto bare = response({});
  EXPECT_EQ(bare.mimeType(), "");
  EXPECT_FALSE(bare.textEncodingName());
}

TEST(URLResponseTest, OnlyAPlainNumberIsAContentLength) {
  EXPECT_EQ(response({{"Content-Length", " 1234 "}}).expectedContentLength(), 1234);
  EXPECT_EQ(response({{"Content-Length", "12a"}}).expectedContentLength(), -1);
  EXPECT_EQ(response({{"Content-Length", "-5"}}).expectedContentLength(), -1);
  EXPECT_EQ(response({{"Content-Length", ""}}).expectedContentLength(), -1);
  EXPECT_EQ(response({}).expectedContentLength(), -1);
}

}  // namespace
