// The base-N encodings: RFC 4648 vectors, the predefined alphabets' decoding rules, custom
// alphabets, and the failure reports of both class names.
#include <gtest/gtest.h>

#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "platform/base/AssertionHandler.h"
#include "TestData.h"
#include "sdk/encoding/DOZStringEncoding.h"
#include "sdk/encoding/GAD_DOZStringEncoding.h"

namespace {

struct Vector {
  std::string encoding, input, encoded;
};

std::vector<Vector> rfc4648Vectors() {
  std::istringstream file(test_data::read("rfc4648-vectors.tsv"));
  std::vector<Vector> vectors;
  std::string line;
  while (std::getline(file, line)) {
    if (line.empty() || line[0] == '#') continue;
    std::istringstream fields(line);
    Vector v;
    std::getline(fields, v.encoding, '\t');
    std::getline(fields, v.input, '\t');
    std::getline(fields, v.encoded, '\t');
    if (v.input == "(empty)") v.input.clear();
    if (v.encoded == "(empty)") v.encoded.clear();
    vectors.push_back(v);
  }
  return vectors;
}

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
  const auto vectors = rfc4648Vectors();
  ASSERT_EQ(vectors.size(), 28u);
  for (const auto& v : vectors) {
    SCOPED_TRACE(v.encoding + " \"" + v.input + "\"");
    auto padded = encodingNamed(v.encoding);
    EXPECT_EQ(padded.encode(v.input), v.encoded);
    EXPECT_EQ(padded.decode(v.encoded), v.input);
    EXPECT_EQ(padded.decode(withoutPadding(v.encoded)), v.input);  // padding is optional

    auto unpadded = encodingNamed(v.encoding);
    unpadded.setDoPad(false);
    EXPECT_EQ(unpadded.encode(v.input), withoutPadding(v.encoded));
    EXPECT_EQ(unpadded.decode(withoutPadding(v.encoded)), v.input);
    EXPECT_EQ(unpadded.decode(v.encoded), v.input);
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
  EXPECT_FALSE(websafe.doPad());
  EXPECT_EQ(websafe.encode("abcd"), "YWJjZA");
  EXPECT_EQ(websafe.encodeString("abcd"), "YWJjZA");
}

// What each predefined alphabet decodes and what it refuses: either case of hex, Crockford's
// synonyms; and what no encoder writes — blanks unless asked, symbols after padding, leftover
// bits that are not zero, non-ASCII, a NUL inside, a symbol that fills no byte.
TEST(DOZStringEncodingTest, DecodingByAlphabet) {
  auto hex = DOZStringEncoding::hexStringEncoding();
  auto binary = DOZStringEncoding::binaryStringEncoding();
  auto crockford = DOZStringEncoding::crockfordBase32StringEncoding();
  auto base32hex = DOZStringEncoding::rfc4648Base32HexStringEncoding();
  auto base64 = DOZStringEncoding::rfc4648Base64StringEncoding();
  const struct {
    const DOZStringEncoding& encoding;
    std::string text;
    std::optional<std::string> bytes;
  } cases[] = {
      {hex, "616263", "abc"}, {hex, "6a6B", "\x6a\x6b"}, {hex, "61626", std::nullopt}, {hex, "6G", std::nullopt},
      {hex, "610", std::nullopt},
      {binary, "011000010110001001100011", "abc"}, {binary, "0110000", std::nullopt},
      {crockford, "c5h66", "abc"}, {crockford, "U", std::nullopt}, {crockford, "oO", std::string(1, '\0')},
      {crockford, "iIlL1000", crockford.decode("11111000")},
      {base32hex, "C5H66===", "abc"},
      {base64, "Zm9v Yg==", std::nullopt}, {base64, "Zg==Zg==", std::nullopt}, {base64, "Zh==", std::nullopt},
      {base64, "Zm9v\xc3\xa9", std::nullopt}, {base64, std::string("Zm9v\0Yg", 7), std::nullopt},
      {base64, "A", std::nullopt}, {base64, "Zm9vA", std::nullopt},
      // Padding may be absent, repeated, or alone.
      {base64, "Zg", "f"}, {base64, "Zg======", "f"}, {base64, "", ""}, {base64, "====", ""},
  };
  for (const auto& c : cases) EXPECT_EQ(c.encoding.decode(c.text), c.bytes) << c.encoding.description() << " " << c.text;
  EXPECT_EQ(hex.encode("abc"), "616263");
  EXPECT_EQ(binary.encode("abc"), "011000010110001001100011");
  EXPECT_EQ(crockford.encode("abc"), "C5H66");
  EXPECT_EQ(base32hex.encode("abc"), "C5H66===");
  EXPECT_EQ(DOZStringEncoding::binaryStringEncoding().decode("0000000"), std::nullopt);
}

TEST(DOZStringEncodingTest, EmptyDataAndDescription) {
  EXPECT_EQ(GAD_DOZStringEncoding::rfc4648Base64StringEncoding().encode(""), "");
  EXPECT_EQ(GAD_DOZStringEncoding::rfc4648Base32StringEncoding().encode(""), "");
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
  EXPECT_FALSE(DOZStringEncoding::create("").has_value());
  EXPECT_FALSE(DOZStringEncoding::create("0").has_value());
  EXPECT_FALSE(DOZStringEncoding::create("012").has_value());          // not a power of two
  EXPECT_FALSE(DOZStringEncoding::create("0120").has_value());         // repeated
  EXPECT_FALSE(DOZStringEncoding::create("01\xc3\xa9").has_value());   // not ASCII
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

TEST(DOZStringEncodingTest, DoPadWithoutPaddingCharacterWritesNoPadding) {
  auto crockford = DOZStringEncoding::crockfordBase32StringEncoding();
  crockford.setDoPad(true);
  EXPECT_EQ(crockford.encode("abc"), "C5H66");  // not "C5H66" followed by NUL characters
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
  EXPECT_EQ(base32.paddingChar(), '.');
  EXPECT_EQ(base32.encode("f"), "MY......");
  EXPECT_EQ(base32.decode("MY......"), "f");
  base32.setPaddingChar(0);
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
