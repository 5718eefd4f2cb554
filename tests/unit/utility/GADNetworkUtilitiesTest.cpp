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

std::optional<std::string> unlessNone(const std::string& field) {
  return field == "(none)" ? std::nullopt : std::optional<std::string>(field);
}

// The exact name, the raw value up to an ampersand or a second "=": one row each in
// tests/testdata/url-parameters.tsv.
TEST(GADNetworkUtilitiesParameter, ExactNameTheRawValueUpToAnAmpersandOrASecondEquals) {
  for (const auto& row : test_data::rows("url-parameters.tsv")) {
    SCOPED_TRACE(row[0] + " " + row[1]);
    EXPECT_EQ(GADNetworkUtilities::parameterValueForKeyFromURL(row[0], url(row[1])), unlessNone(row[2]));
  }
}

// The separator, the key alone, escaping and the fragment: tests/testdata/url-appended-parameters.tsv.
TEST(GADNetworkUtilitiesAppend, TheSeparatorTheKeyAloneEscapingAndTheFragment) {
  for (const auto& row : test_data::rows("url-appended-parameters.tsv")) {
    SCOPED_TRACE(row[0] + " + " + row[1]);
    auto result = GADNetworkUtilities::appendQueryKeyValueToURL(row[1], unlessNone(row[2]), url(row[0]));
    EXPECT_EQ(result ? result->absoluteString() : "", row[3]);
  }
}

TEST(GADNetworkUtilitiesAppend, DictionaryInKeyOrderWithValueTextForms) {
  pf::Value params = pf::Value::dictionary({{"seq_num", "1"}, {"n", 42}, {"r", 0.5}, {"b", true}, {"empty", ""}});
  auto u = GADNetworkUtilities::appendQueryParametersToURL(params, url("http://h/ad?x=1"));
  ASSERT_TRUE(u);
  EXPECT_EQ(u->absoluteString(), "http://h/ad?x=1&b=1&empty&n=42&r=0.5&seq_num=1");
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
