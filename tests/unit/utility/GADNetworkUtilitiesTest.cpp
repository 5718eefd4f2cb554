#include "sdk/utility/GADNetworkUtilities.h"

#include <gtest/gtest.h>

namespace {

pf::Url url(const char* text) {
  auto parsed = pf::Url::parse(text);
  EXPECT_TRUE(parsed) << text;
  return *parsed;
}

std::string appended(const char* base, const char* key, std::optional<std::string> value) {
  auto result = GADNetworkUtilities::appendQueryKeyValueToURL(key, std::move(value), url(base));
  return result ? result->absoluteString() : "<none>";
}

// --- dictionaryFromQueryString -----------------------------------------------------------

TEST(GADNetworkUtilitiesQuery, RunsOfAmpersandsAndSemicolonsSeparatePairs) {
  auto d = GADNetworkUtilities::dictionaryFromQueryString("a=1&&b=2;c=3");
  EXPECT_EQ(d, pf::Value::dictionary({{"a", "1"}, {"b", "2"}, {"c", "3"}}));
  d = GADNetworkUtilities::dictionaryFromQueryString(";&;a=1;;&&;");
  EXPECT_EQ(d, pf::Value::dictionary({{"a", "1"}}));
}

TEST(GADNetworkUtilitiesQuery, WhiteSpaceBeforeAPairIsSkippedButNotInside) {
  auto d = GADNetworkUtilities::dictionaryFromQueryString(" \t\n a=1& \r\nb=x y ;\xC2\xA0" "c=3");
  EXPECT_EQ(d["a"].stringRef(), "1");
  EXPECT_EQ(d["b"].stringRef(), "x y ");  // trailing blank belongs to the value
  EXPECT_EQ(d["c"].stringRef(), "3");     // no-break space before the pair is skipped too
  EXPECT_EQ(d.size(), 3u);
  EXPECT_EQ(GADNetworkUtilities::dictionaryFromQueryString("  \n ").size(), 0u);
}

TEST(GADNetworkUtilitiesQuery, OnlyPairsOfExactlyTwoPiecesCount) {
  auto d = GADNetworkUtilities::dictionaryFromQueryString("a=1=2&b&c=&=d&e=5");
  EXPECT_EQ(d, pf::Value::dictionary({{"c", ""}, {"", "d"}, {"e", "5"}}));
}

TEST(GADNetworkUtilitiesQuery, KeysDecodedThenLowerCasedValuesDecoded) {
  auto d = GADNetworkUtilities::dictionaryFromQueryString("A%20B=x%26y%3Dz&URL=http%3A%2F%2Fh%2F");
  EXPECT_EQ(d["a b"].stringRef(), "x&y=z");
  EXPECT_EQ(d["url"].stringRef(), "http://h/");
  EXPECT_FALSE(d.contains("URL"));
  // Escaped capitals are lower-cased too (decoding comes first); values keep their case.
  d = GADNetworkUtilities::dictionaryFromQueryString("%4Bey=VaLuE");
  EXPECT_EQ(d["key"].stringRef(), "VaLuE");
}

TEST(GADNetworkUtilitiesQuery, PlusStaysPlusAndUtf8Decodes) {
  auto d = GADNetworkUtilities::dictionaryFromQueryString("q=a+b&n=%C3%A9t%C3%A9");
  EXPECT_EQ(d["q"].stringRef(), "a+b");
  EXPECT_EQ(d["n"].stringRef(), "\xC3\xA9t\xC3\xA9");
}

TEST(GADNetworkUtilitiesQuery, PairsWithBadEscapesAreDropped) {
  auto d = GADNetworkUtilities::dictionaryFromQueryString(
      "a=%zz&b=%4&c=%&d=ok&e%G1=1&f=%FF&g=%C3&%E9=1&h=%C3%A9");
  EXPECT_EQ(d, pf::Value::dictionary({{"d", "ok"}, {"h", "\xC3\xA9"}}));
}

TEST(GADNetworkUtilitiesQuery, LaterPairReplacesEarlierWithTheSameKey) {
  auto d = GADNetworkUtilities::dictionaryFromQueryString("type=1&TYPE=2&Type=3;type=4");
  EXPECT_EQ(d, pf::Value::dictionary({{"type", "4"}}));
  // A later pair that is skipped does not remove the earlier one.
  d = GADNetworkUtilities::dictionaryFromQueryString("k=1&k=%zz&k");
  EXPECT_EQ(d["k"].stringRef(), "1");
}

// --- parameterValueForKeyFromURL ---------------------------------------------------------

TEST(GADNetworkUtilitiesParameter, ExactNameMatchSkipsPrefixesAndBareNames) {
  auto u = url("http://ads.example/aclk?aiq=1&ai&ai=XyZ%3D&ai=second");
  EXPECT_EQ(GADNetworkUtilities::parameterValueForKeyFromURL("ai", u), "XyZ%3D");  // raw
  EXPECT_EQ(GADNetworkUtilities::parameterValueForKeyFromURL("aiq", u), "1");
  EXPECT_EQ(GADNetworkUtilities::parameterValueForKeyFromURL("AI", u), std::nullopt);
  EXPECT_EQ(GADNetworkUtilities::parameterValueForKeyFromURL("a", u), std::nullopt);
}

TEST(GADNetworkUtilitiesParameter, SemicolonIsNotASeparatorAndFragmentIsNotQuery) {
  auto u = url("http://h/p?a=1;b=2#b=3");
  EXPECT_EQ(GADNetworkUtilities::parameterValueForKeyFromURL("a", u), "1;b");
  EXPECT_EQ(GADNetworkUtilities::parameterValueForKeyFromURL("b", u), std::nullopt);
}

TEST(GADNetworkUtilitiesParameter, ValueEndsAtASecondEqualsAndMayBeEmpty) {
  auto u = url("http://h/p?x=1=2&y=");
  EXPECT_EQ(GADNetworkUtilities::parameterValueForKeyFromURL("x", u), "1");
  EXPECT_EQ(GADNetworkUtilities::parameterValueForKeyFromURL("y", u), "");
  EXPECT_EQ(GADNetworkUtilities::parameterValueForKeyFromURL("x", url("http://h/p")), std::nullopt);
  EXPECT_EQ(GADNetworkUtilities::parameterValueForKeyFromURL("", url("http://h/p?=v")), "v");
}

// --- appending ---------------------------------------------------------------------------

TEST(GADNetworkUtilitiesAppend, FirstSeparatorDependsOnTheQuery) {
  EXPECT_EQ(appended("http://h/core.js", "unique", "1712"), "http://h/core.js?unique=1712");
  EXPECT_EQ(appended("http://h/p?a=1", "unique", "7"), "http://h/p?a=1&unique=7");
  // A bare "?" takes the key directly: "??k" would make the first key "?k".
  EXPECT_EQ(appended("http://h/p?", "k", "v"), "http://h/p?k=v");
}

TEST(GADNetworkUtilitiesAppend, EmptyOrMissingValueAppendsTheKeyAlone) {
  EXPECT_EQ(appended("http://h/p", "token", ""), "http://h/p?token");
  EXPECT_EQ(appended("http://h/p?a=1", "token", std::nullopt), "http://h/p?a=1&token");
}

TEST(GADNetworkUtilitiesAppend, ValuesAreEscapedKeysAreNot) {
  EXPECT_EQ(appended("http://h/p", "q", "a b&c"), "http://h/p?q=a%20b%26c");
  EXPECT_EQ(appended("http://h/p", "q", "\xC3\xA9"), "http://h/p?q=%C3%A9");
  EXPECT_EQ(appended("http://h/p", "a.b", "x"), "http://h/p?a.b=x");
  // An unescaped blank in the key makes no URL.
  EXPECT_EQ(appended("http://h/p", "a b", "x"), "<none>");
}

TEST(GADNetworkUtilitiesAppend, ParametersGoBeforeTheFragment) {
  EXPECT_EQ(appended("http://h/p#top", "k", "v"), "http://h/p?k=v#top");
  EXPECT_EQ(appended("http://h/p?a=1#top", "k", "v"), "http://h/p?a=1&k=v#top");
  auto u = GADNetworkUtilities::appendQueryKeyValueToURL("k", "v", url("http://h/p#top"));
  ASSERT_TRUE(u);
  EXPECT_EQ(u->query(), "k=v");
  EXPECT_EQ(u->fragment(), "top");
}

TEST(GADNetworkUtilitiesAppend, DictionaryInKeyOrderWithValueTextForms) {
  pf::Value params = pf::Value::dictionary(
      {{"seq_num", "1"}, {"n", 42}, {"r", 0.5}, {"b", true}, {"empty", ""}});
  auto u = GADNetworkUtilities::appendQueryParametersToURL(params, url("http://h/ad?x=1"));
  ASSERT_TRUE(u);
  EXPECT_EQ(u->absoluteString(), "http://h/ad?x=1&b=1&empty&n=42&r=0.5&seq_num=1");
  // Round trip: what was appended reads back through the parser.
  auto back = GADNetworkUtilities::dictionaryFromQueryString(*u->query());
  EXPECT_EQ(back["r"].stringRef(), "0.5");
}

TEST(GADNetworkUtilitiesAppend, EmptyDictionaryReturnsTheSameUrl) {
  auto u = GADNetworkUtilities::appendQueryParametersToURL(pf::Value::dictionary(), url("http://h/p#f"));
  ASSERT_TRUE(u);
  EXPECT_EQ(u->absoluteString(), "http://h/p#f");
}

// --- encodeURL ---------------------------------------------------------------------------

TEST(GADNetworkUtilitiesEncode, OnlyUnreservedCharactersPass) {
  EXPECT_EQ(GADNetworkUtilities::encodeURL("AZaz09-._~"), "AZaz09-._~");
  EXPECT_EQ(GADNetworkUtilities::encodeURL("!*'();:@&=+$,/?%#[]"),
            "%21%2A%27%28%29%3B%3A%40%26%3D%2B%24%2C%2F%3F%25%23%5B%5D");
  EXPECT_EQ(GADNetworkUtilities::encodeURL(" \"<>\\^`{|}"), "%20%22%3C%3E%5C%5E%60%7B%7C%7D");
  EXPECT_EQ(GADNetworkUtilities::encodeURL("\xE2\x82\xAC\n"), "%E2%82%AC%0A");
  EXPECT_EQ(GADNetworkUtilities::encodeURL(std::string("a\0b", 3)), "a%00b");
  EXPECT_EQ(GADNetworkUtilities::encodeURL(""), "");
}

TEST(GADNetworkUtilitiesEncode, EncodedTextDecodesBack) {
  std::string all;
  for (int c = 0; c < 256; ++c) all += static_cast<char>(c);
  EXPECT_EQ(pf::Url::percentDecode(GADNetworkUtilities::encodeURL(all)), all);
}

// --- user agent ----------------------------------------------------------------------------

TEST(GADNetworkUtilitiesUserAgent, NoneUntilSetAndEmptyIgnored) {
  GADNetworkUtilities::resetForTesting();
  EXPECT_EQ(GADNetworkUtilities::userAgentString(), std::nullopt);
  GADNetworkUtilities::setUserAgentString("");
  EXPECT_EQ(GADNetworkUtilities::userAgentString(), std::nullopt);
  GADNetworkUtilities::setUserAgentString("Mozilla/5.0 (A)");
  GADNetworkUtilities::setUserAgentString("");
  EXPECT_EQ(GADNetworkUtilities::userAgentString(), "Mozilla/5.0 (A)");
  GADNetworkUtilities::setUserAgentString("Mozilla/5.0 (B)");
  EXPECT_EQ(GADNetworkUtilities::userAgentString(), "Mozilla/5.0 (B)");
  GADNetworkUtilities::resetForTesting();
}

}  // namespace
