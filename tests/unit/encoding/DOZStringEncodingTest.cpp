// The base-N encodings: RFC 4648 vectors, the predefined alphabets' decoding rules, custom
// alphabets, and the failure reports of both class names.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "TestData.h"
#include "platform/base/AssertionHandler.h"
#include "sdk/encoding/DOZStringEncoding.h"
#include "sdk/encoding/GAD_DOZStringEncoding.h"

namespace {

GAD_DOZStringEncoding encodingNamed(const std::string& name) {
  if (name == "base64") return GAD_DOZStringEncoding::rfc4648Base64StringEncoding();
  if (name == "base32") return GAD_DOZStringEncoding::rfc4648Base32StringEncoding();
  if (name == "base32hex") return GAD_DOZStringEncoding::rfc4648Base32HexStringEncoding();
  if (name == "base16") return GAD_DOZStringEncoding::hexStringEncoding();
  ADD_FAILURE() << "no encoding " << name;
  return GAD_DOZStringEncoding::binaryStringEncoding();
}

std::string withoutPadding(std::string s) {
  s.erase(s.find_last_not_of('=') + 1);
  return s;
}

// Collects failure reports for the test's lifetime.
class CapturedFailures {
 public:
  struct Report {
    std::string method, description;
  };
  CapturedFailures()
      : previous_(pf::AssertionHandler::setHandler(
            [this](const char* method, const char*, int, const std::string& description) {
              reports.push_back({method, description});
            })) {}
  ~CapturedFailures() { pf::AssertionHandler::setHandler(std::move(previous_)); }
  std::vector<Report> reports;

 private:
  pf::AssertionHandler::Handler previous_;
};

}  // namespace

TEST(DOZStringEncodingTest, Rfc4648VectorsWithAndWithoutPadding) {
  const auto vectors = test_data::rows("rfc4648-vectors.tsv");  // encoding, input, encoded
  ASSERT_EQ(vectors.size(), 28u);
  for (auto v : vectors) {
    for (auto& field : v) if (field == "(empty)") field.clear();
    SCOPED_TRACE(v[0] + " \"" + v[1] + "\"");
    auto padded = encodingNamed(v[0]);
    EXPECT_EQ(padded.encode(v[1]), v[2]);
    EXPECT_EQ(padded.decode(v[2]), v[1]);
    EXPECT_EQ(padded.decode(withoutPadding(v[2])), v[1]);  // padding is optional

    auto unpadded = encodingNamed(v[0]);
    unpadded.setDoPad(false);
    EXPECT_EQ(unpadded.encode(v[1]), withoutPadding(v[2]));
    EXPECT_EQ(unpadded.decode(withoutPadding(v[2])), v[1]);
    EXPECT_EQ(unpadded.decode(v[2]), v[1]);
  }
}

TEST(DOZStringEncodingTest, WebsafeBase64UsesDashAndUnderscore) {
  auto websafe = GAD_DOZStringEncoding::rfc4648Base64WebsafeStringEncoding();
  auto standard = GAD_DOZStringEncoding::rfc4648Base64StringEncoding();
  const std::string bytes("\xfb\xff\xbf", 3);
  EXPECT_EQ(standard.encode(bytes), "+/+/");
  EXPECT_EQ(websafe.encode(bytes), "-_-_");
  EXPECT_EQ(websafe.decode("-_-_"), bytes);
  EXPECT_EQ(websafe.decode("+/+/"), std::nullopt);
  EXPECT_EQ(standard.decode("-_-_"), std::nullopt);

  websafe.setDoPad(false);
  EXPECT_EQ(websafe.encode("abcd"), "YWJjZA");
  EXPECT_EQ(websafe.encodeString("abcd"), "YWJjZA");
}

// Decoding by alphabet, one row each in tests/testdata/base-n-decoding.tsv.
TEST(DOZStringEncodingTest, DecodingByAlphabet) {
  const std::map<std::string, DOZStringEncoding> alphabets = {
      {"hex", DOZStringEncoding::hexStringEncoding()},
      {"binary", DOZStringEncoding::binaryStringEncoding()},
      {"crockford", DOZStringEncoding::crockfordBase32StringEncoding()},
      {"base32hex", DOZStringEncoding::rfc4648Base32HexStringEncoding()},
      {"base64", DOZStringEncoding::rfc4648Base64StringEncoding()}};
  for (auto row : test_data::rows("base-n-decoding.tsv")) {
    row.resize(3);
    SCOPED_TRACE(row[0] + " " + row[1]);
    const auto& encoding = alphabets.at(row[0]);
    EXPECT_EQ(encoding.decode(row[1]), row[2] == "-" ? std::nullopt : std::optional<std::string>(row[2]));
  }
  EXPECT_EQ(alphabets.at("binary").encode("abc"), "011000010110001001100011");
  EXPECT_EQ(alphabets.at("crockford").encode("abc"), "C5H66");
}

TEST(DOZStringEncodingTest, Description) {
  EXPECT_EQ(GAD_DOZStringEncoding::rfc4648Base64StringEncoding().description(),
            "<Base64 StringEncoder: ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/>");
  EXPECT_EQ(GAD_DOZStringEncoding::crockfordBase32StringEncoding().description(),
            "<Base32 StringEncoder: 0123456789ABCDEFGHJKMNPQRSTVWXYZ>");
}

TEST(DOZStringEncodingTest, StringByDecodingNeedsUtf8) {
  auto base64 = GAD_DOZStringEncoding::rfc4648Base64StringEncoding();
  EXPECT_EQ(base64.stringByDecoding(base64.encodeString("h\xc3\xa9llo")), "h\xc3\xa9llo");
  EXPECT_EQ(base64.stringByDecoding(base64.encode("\xc3")), std::nullopt);        // cut sequence
  EXPECT_EQ(base64.stringByDecoding(base64.encode("\xc0\xaf")), std::nullopt);    // overlong
  EXPECT_EQ(base64.stringByDecoding(base64.encode("\xed\xa0\x80")), std::nullopt);  // surrogate
  EXPECT_EQ(base64.stringByDecoding("!"), std::nullopt);
}

TEST(DOZStringEncodingTest, CustomAlphabets) {
  // Too few symbols, not a power of two, repeated, not ASCII.
  for (const char* bad : {"", "0", "012", "0120", "01\xc3\xa9"}) EXPECT_FALSE(DOZStringEncoding::create(bad)) << bad;
  std::string all128;
  for (int c = 0; c < 128; ++c) all128 += static_cast<char>(c);
  EXPECT_FALSE(DOZStringEncoding::create(all128 + all128).has_value());  // 256 symbols

  // Sizes and group lengths: lcm(8, bits) / bits characters a group.
  const std::map<size_t, std::pair<int, int>> expected = {
      {2, {1, 8}}, {4, {2, 4}}, {8, {3, 8}}, {16, {4, 2}}, {32, {5, 8}}, {64, {6, 4}}, {128, {7, 8}}};
  for (const auto& [size, shiftAndPad] : expected) {
    auto enc = DOZStringEncoding::stringEncodingWithString(all128.substr(0, size));
    ASSERT_TRUE(enc.has_value()) << size;
    EXPECT_EQ(enc->shift(), shiftAndPad.first);
    EXPECT_EQ(enc->padLen(), shiftAndPad.second);
    EXPECT_FALSE(enc->doPad());
  }

  // Octal with a padding character: 3 bits a symbol, 8 symbols a group.
  auto octal = DOZStringEncoding::create("01234567");
  ASSERT_TRUE(octal);
  octal->setPaddingChar('=');
  octal->setDoPad(true);
  EXPECT_EQ(octal->encode("\xff"), "776=====");
  EXPECT_EQ(octal->decode("776====="), "\xff");
  EXPECT_EQ(octal->decode("777"), std::nullopt);  // leftover bit is 1

  // Seven bits a symbol, with NUL as a symbol: the whole ASCII range round-trips.
  auto wide = DOZStringEncoding::create(all128);
  ASSERT_TRUE(wide);
  const std::string bytes("\x00\x01\xfe\xff\x80\x7f\x10\x20", 8);
  EXPECT_EQ(wide->decode(wide->encode(bytes)), bytes);
}

TEST(DOZStringEncodingTest, IgnoredCharactersAndSynonyms) {
  auto base64 = GAD_DOZStringEncoding::rfc4648Base64StringEncoding();
  base64.ignoreCharacters(" \r\n");
  EXPECT_EQ(base64.decode("Zm9v\r\nYmFy\n"), "foobar");
  EXPECT_EQ(base64.decode(" Z g = = "), "f");
  EXPECT_EQ(base64.decode("Zg== Zg"), std::nullopt);  // still no data after padding

  // Groups in a synonym list: undefined characters before any defined one stay undefined;
  // a defined character is never redefined.
  auto hex = DOZStringEncoding::create("0123456789ABCDEF");
  ASSERT_TRUE(hex);
  hex->addDecodeSynonyms("xyA");   // x, y stay undefined
  hex->addDecodeSynonyms("0oBa");  // o → 0; B is defined; a → B's value (11), not A's
  EXPECT_EQ(hex->decode("xA"), std::nullopt);
  EXPECT_EQ(hex->decode("oa"), std::string("\x0b", 1));
  EXPECT_EQ(hex->decode("AB"), std::string("\xab", 1));

  // A padding synonym: "." after "=" pads too.
  auto dotted = GAD_DOZStringEncoding::rfc4648Base64StringEncoding();
  dotted.addDecodeSynonyms("=.");
  EXPECT_EQ(dotted.decode("Zg.."), "f");
}

TEST(DOZStringEncodingTest, FailedChecksReportWithTheClassName) {
  CapturedFailures failures;
  auto gad = GAD_DOZStringEncoding::rfc4648Base64StringEncoding();
  gad.ignoreCharacters("A\n");
  auto doz = DOZStringEncoding::rfc4648Base64StringEncoding();
  doz.ignoreCharacters("=");
  ASSERT_EQ(failures.reports.size(), 2u);
  EXPECT_EQ(failures.reports[0].method, "-[GAD_DOZStringEncoding ignoreCharacters:]");
  EXPECT_EQ(failures.reports[0].description, "Character already mapped");
  EXPECT_EQ(failures.reports[1].method, "-[DOZStringEncoding ignoreCharacters:]");
  // The check changed nothing: "A" is still a symbol, "=" still padding; "\n" was taken.
  EXPECT_EQ(gad.decode("QUFB\n"), "AAA");
  EXPECT_EQ(doz.decode("Zg=="), "f");

  // A symbol cannot become padding: the text would be ambiguous.
  gad.setPaddingChar('A');
  ASSERT_EQ(failures.reports.size(), 3u);
  EXPECT_EQ(failures.reports[2].method, "-[GAD_DOZStringEncoding setPaddingChar:]");
  EXPECT_EQ(gad.encode("f"), "Zg==");

  gad.ignoreCharacters("\xc3");
  ASSERT_EQ(failures.reports.size(), 4u);
  EXPECT_EQ(failures.reports[3].description, "Character not ASCII");
}

TEST(DOZStringEncodingTest, PaddingCharacterCanChange) {
  CapturedFailures failures;
  auto base32 = GAD_DOZStringEncoding::rfc4648Base32StringEncoding();
  base32.setPaddingChar('.');
  EXPECT_EQ(base32.encode("f"), "MY......");
  EXPECT_EQ(base32.decode("MY......"), "f");
  base32.setPaddingChar(0);  // padding on, but no character to pad with: none written
  EXPECT_EQ(base32.encode("f"), "MY");
  EXPECT_TRUE(failures.reports.empty());
}

TEST(DOZStringEncodingTest, EncodeToAndDecodeToReuseTheirBuffer) {
  auto base32 = GAD_DOZStringEncoding::rfc4648Base32StringEncoding();
  std::string out = "stale contents that are longer than any result here";
  base32.encodeTo("foobar", out);
  EXPECT_EQ(out, "MZXW6YTBOI======");
  base32.encodeTo("f", out);  // shorter: the old characters must not show through the padding
  EXPECT_EQ(out, "MY======");
  base32.encodeTo("", out);
  EXPECT_EQ(out, "");

  std::string bytes = "old";
  EXPECT_TRUE(base32.decodeTo("MZXW6===", bytes));
  EXPECT_EQ(bytes, "foo");
  EXPECT_FALSE(base32.decodeTo("MZXW6=A", bytes));
  EXPECT_EQ(bytes, "");

  // Encoding a buffer into itself, and decoding one in place.
  std::string self = "foob";
  base32.encodeTo(self, self);
  EXPECT_EQ(self, "MZXW6YQ=");
  EXPECT_TRUE(base32.decodeTo(self, self));
  EXPECT_EQ(self, "foob");
}
