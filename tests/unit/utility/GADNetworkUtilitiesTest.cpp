#include "sdk/utility/GADNetworkUtilities.h"

#include <gtest/gtest.h>

#include "TestData.h"

namespace {

pf::Url url(const std::string& text) {
  auto parsed = pf::Url::parse(text);
  EXPECT_TRUE(parsed) << text;
  return parsed.value_or(*pf::Url::parse("about:blank"));
}

// The query parser's rules — separators, white space before a pair, the two-piece rule,
// decoding then lower-casing keys, "+" kept, bad escapes dropped, later wins — one row each in
// tests/testdata/query-strings.tsv (query, then the pairs expected, sorted by key).
TEST(GADNetworkUtilitiesQuery, EachQueryGivesItsPairs) {
  for (const auto& row : test_data::rows("query-strings.tsv")) {
    SCOPED_TRACE(row[0]);
    pf::Value expected = pf::Value::dictionary();
    for (size_t i = 1; i + 1 < row.size(); i += 2) expected.set(row[i], row[i + 1]);
    EXPECT_EQ(GADNetworkUtilities::dictionaryFromQueryString(row[0]), expected);
  }
}

TEST(GADNetworkUtilitiesParameter, ExactNameTheRawValueUpToAnAmpersandOrASecondEquals) {
  static const struct {
    const char* key;
    const char* url;
    std::optional<std::string> value;
  } kCases[] = {
      {"ai", "http://ads.example/aclk?aiq=1&ai&ai=XyZ%3D&ai=second", "XyZ%3D"},  // raw
      {"aiq", "http://ads.example/aclk?aiq=1&ai&ai=XyZ%3D&ai=second", "1"},
      {"AI", "http://ads.example/aclk?ai=1", std::nullopt},
      {"a", "http://ads.example/aclk?ai=1", std::nullopt},
      {"a", "http://h/p?a=1;b=2#b=3", "1;b"},  // ";" separates nothing here
      {"b", "http://h/p?a=1;b=2#b=3", std::nullopt},  // the fragment is no query
      {"x", "http://h/p?x=1=2&y=", "1"},
      {"y", "http://h/p?x=1=2&y=", ""},
      {"x", "http://h/p", std::nullopt},
      {"", "http://h/p?=v", "v"},
  };
  for (const auto& c : kCases)
    EXPECT_EQ(GADNetworkUtilities::parameterValueForKeyFromURL(c.key, url(c.url)), c.value) << c.key << " " << c.url;
}

TEST(GADNetworkUtilitiesAppend, TheSeparatorTheKeyAloneEscapingAndTheFragment) {
  static const struct {
    const char* base;
    const char* key;
    std::optional<std::string> value;
    const char* result;  // "" when no URL can be made
  } kCases[] = {
      {"http://h/core.js", "unique", "1712", "http://h/core.js?unique=1712"},
      {"http://h/p?a=1", "unique", "7", "http://h/p?a=1&unique=7"},
      {"http://h/p?", "k", "v", "http://h/p?k=v"},  // "??k" would make the first key "?k"
      {"http://h/p", "token", "", "http://h/p?token"},
      {"http://h/p?a=1", "token", std::nullopt, "http://h/p?a=1&token"},
      {"http://h/p", "q", "a b&c", "http://h/p?q=a%20b%26c"},  // values escaped, keys not
      {"http://h/p", "q", "\xC3\xA9", "http://h/p?q=%C3%A9"},
      {"http://h/p", "a.b", "x", "http://h/p?a.b=x"},
      {"http://h/p", "a b", "x", ""},
      {"http://h/p#top", "k", "v", "http://h/p?k=v#top"},
      {"http://h/p?a=1#top", "k", "v", "http://h/p?a=1&k=v#top"},
  };
  for (const auto& c : kCases) {
    auto result = GADNetworkUtilities::appendQueryKeyValueToURL(c.key, c.value, url(c.base));
    EXPECT_EQ(result ? result->absoluteString() : "", c.result) << c.base << " + " << c.key;
  }
  auto u = GADNetworkUtilities::appendQueryKeyValueToURL("k", "v", url("http://h/p#top"));
  EXPECT_EQ(u->query(), "k=v");
  EXPECT_EQ(u->fragment(), "top");
}

TEST(GADNetworkUtilitiesAppend, DictionaryInKeyOrderWithValueTextForms) {
  pf::Value params = pf::Value::dictionary({{"seq_num", "1"}, {"n", 42}, {"r", 0.5}, {"b", true}, {"empty", ""}});
  auto u = GADNetworkUtilities::appendQueryParametersToURL(params, url("http://h/ad?x=1"));
  ASSERT_TRUE(u);
  EXPECT_EQ(u->absoluteString(), "http://h/ad?x=1&b=1&empty&n=42&r=0.5&seq_num=1");
  EXPECT_EQ(GADNetworkUtilities::dictionaryFromQueryString(*u->query())["r"].stringRef(), "0.5");
  EXPECT_EQ(GADNetworkUtilities::appendQueryParametersToURL(pf::Value::dictionary(), url("http://h/p#f"))->absoluteString(),
            "http://h/p#f");
}

TEST(GADNetworkUtilitiesEncode, OnlyUnreservedCharactersPassAndEverythingDecodesBack) {
  EXPECT_EQ(GADNetworkUtilities::encodeURL("AZaz09-._~"), "AZaz09-._~");
  EXPECT_EQ(GADNetworkUtilities::encodeURL("!*'();:@&=+$,/?%#[]"),
            "%21%2A%27%28%29%3B%3A%40%26%3D%2B%24%2C%2F%3F%25%23%5B%5D");
  EXPECT_EQ(GADNetworkUtilities::encodeURL(" \"<>\\^`{|}"), "%20%22%3C%3E%5C%5E%60%7B%7C%7D");
  EXPECT_EQ(GADNetworkUtilities::encodeURL(std::string("\xE2\x82\xAC\n\0", 5)), "%E2%82%AC%0A%00");
  std::string all;
  for (int c = 0; c < 256; ++c) all += static_cast<char>(c);
  EXPECT_EQ(pf::Url::percentDecode(GADNetworkUtilities::encodeURL(all)), all);
}

TEST(GADNetworkUtilitiesUserAgent, NoneUntilSetAndEmptyIgnored) {
  GADNetworkUtilities::resetForTesting();
  EXPECT_EQ(GADNetworkUtilities::userAgentString(), std::nullopt);
  GADNetworkUtilities::setUserAgentString("");
  EXPECT_EQ(GADNetworkUtilities::userAgentString(), std::nullopt);
  GADNetworkUtilities::setUserAgentString("Mozilla/5.0 (A)");
  GADNetworkUtilities::setUserAgentString("");
  EXPECT_EQ(GADNetworkUtilities::userAgentString(), "Mozilla/5.0 (A)");
  GADNetworkUtilities::resetForTesting();
}

}  // namespace
