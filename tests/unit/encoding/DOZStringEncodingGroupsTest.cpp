// The group-at-a-time paths of encode() and decode() against the bit-at-a-time loop they
// stand in for, on random bytes and random (mostly broken) texts of every length around the
// group and word sizes.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "sdk/encoding/DOZStringEncoding.h"

namespace {

std::vector<DOZStringEncoding> encodingsUnderTest() {
  std::vector<DOZStringEncoding> all = {
      DOZStringEncoding::binaryStringEncoding(),         DOZStringEncoding::hexStringEncoding(),
      DOZStringEncoding::rfc4648Base32StringEncoding(),  DOZStringEncoding::rfc4648Base32HexStringEncoding(),
      DOZStringEncoding::crockfordBase32StringEncoding(), DOZStringEncoding::rfc4648Base64StringEncoding(),
      DOZStringEncoding::rfc4648Base64WebsafeStringEncoding()};
  // Every other size too (4, 8 and 128 symbols), and 64-symbol alphabets at both ends of
  // ASCII (control characters and NUL included), which the vector path looks up differently.
  std::string ascii;
  for (int c = 127; c >= 0; --c) ascii += static_cast<char>(c);
  for (size_t size : {4, 8, 64, 128}) all.push_back(*DOZStringEncoding::create(ascii.substr(0, size)));
  all.push_back(*DOZStringEncoding::create(ascii.substr(64)));
  // And alphabets starting in the second and fourth rows of sixteen (characters 16–79, 48–111).
  all.push_back(*DOZStringEncoding::create(ascii.substr(48, 64)));
  all.push_back(*DOZStringEncoding::create(ascii.substr(16, 64)));
  auto ignoring = DOZStringEncoding::rfc4648Base64StringEncoding();
  ignoring.ignoreCharacters("\n ");
  all.push_back(ignoring);
  auto lenient = DOZStringEncoding::rfc4648Base64StringEncoding();
  lenient.addDecodeSynonyms("+-/_");  // also takes the web-safe characters
  all.push_back(lenient);
  return all;
}

std::string randomBytes(std::mt19937& rng, size_t n) {
  std::string s(n, '\0');
  for (auto& c : s) c = static_cast<char>(rng() & 0xff);
  return s;
}

}  // namespace

TEST(DOZStringEncodingGroupsTest, EncodeMatchesTheBitLoop) {
  std::mt19937 rng(20260611);
  for (auto enc : encodingsUnderTest()) {
    SCOPED_TRACE(enc.description());
    for (bool pad : {true, false}) {
      enc.setDoPad(pad);
      for (size_t n = 0; n < 200; ++n) {
        const auto bytes = randomBytes(rng, n);
        ASSERT_EQ(enc.encode(bytes), enc.encodeWithBitLoop(bytes)) << n;
      }
      const auto big = randomBytes(rng, 100000 + rng() % 64);
      ASSERT_EQ(enc.encode(big), enc.encodeWithBitLoop(big));
    }
  }
}

TEST(DOZStringEncodingGroupsTest, DecodeMatchesTheBitLoop) {
  std::mt19937 rng(4648);
  for (const auto& enc : encodingsUnderTest()) {
    SCOPED_TRACE(enc.description());
    const std::string symbols = enc.alphabet();
    const std::string others = "=\n _-+/aZ\x80\xff";
    size_t decoded = 0;
    for (int round = 0; round < 3000; ++round) {
      const std::string bytes = randomBytes(rng, rng() % 120);
      std::string text = enc.encode(bytes);
      // Break it now and then: a foreign character, a symbol changed, a cut, an insert.
      const unsigned breakage = rng() % 5;
      switch (breakage) {
        case 0:
          break;
        case 1:
          if (!text.empty()) text[rng() % text.size()] = others[rng() % others.size()];
          break;
        case 2:
          if (!text.empty()) text[rng() % text.size()] = symbols[rng() % symbols.size()];
          break;
        case 3:
          text.resize(text.size() - (text.empty() ? 0 : rng() % std::min<size_t>(text.size(), 9)));
          break;
        case 4:
          text.insert(text.begin() + (text.empty() ? 0 : rng() % text.size()), others[rng() % others.size()]);
          break;
      }
      const auto fast = enc.decode(text);
      ASSERT_EQ(fast, enc.decodeWithBitLoop(text)) << '"' << text << '"';
      if (breakage == 0) {
        ASSERT_EQ(fast, bytes) << "an unbroken text decodes to its bytes";
      }
      decoded += fast.has_value();
    }
    EXPECT_GT(decoded, 600u);  // enough texts decode for the comparison to mean something
  }
}
