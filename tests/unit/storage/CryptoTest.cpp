#include "platform/base/Crypto.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

namespace {

std::string unhex(const std::string& hex) {
  std::string out;
  for (size_t i = 0; i + 1 < hex.size(); i += 2) {
    out += static_cast<char>(std::stoi(hex.substr(i, 2), nullptr, 16));
  }
  return out;
}

}  // namespace

TEST(Crypto, MD5MatchesTheRFC1321TestSuite) {
  const std::pair<const char*, const char*> suite[] = {
      {"", "d41d8cd98f00b204e9800998ecf8427e"},
      {"a", "0cc175b9c0f1b6a831c399e269772661"},
      {"abc", "900150983cd24fb0d6963f7d28e17f72"},
      {"message digest", "f96b697d7cb7938d525a2f31aaf161d0"},
      {"abcdefghijklmnopqrstuvwxyz", "c3fcd3d76192e4007dfb496cca67e13b"},
      {"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789",
       "d174ab98d277d9f5a5611c2c9f419d9f"},
      {"12345678901234567890123456789012345678901234567890123456789012345678901234567890",
       "57edf4a22be3c955ac49da2e2107b67a"},
  };
  for (const auto& [text, digest] : suite) {
    EXPECT_EQ(pf::Crypto::md5Hex(text), digest) << '"' << text << '"';
    EXPECT_EQ(pf::Crypto::md5(text), unhex(digest)) << '"' << text << '"';
  }
}

TEST(Crypto, MD5TakesBytesNotCStrings) {
  // A digest of text cut at the first NUL would equal md5("a").
  EXPECT_NE(pf::Crypto::md5Hex(std::string("a\0b", 3)), pf::Crypto::md5Hex("a"));
  EXPECT_EQ(pf::Crypto::md5Hex(std::string(1000000, 'a')), "7707d6ae4e027c70eea2a935c2296f21");
  EXPECT_EQ(pf::Crypto::hex(std::string("\x00\x7f\x80\xff", 4)), "007f80ff");
}

TEST(Crypto, AES128CBCMatchesNISTSP800_38A) {
  const std::string key = unhex("2b7e151628aed2a6abf7158809cf4f3c");
  const std::string iv = unhex("000102030405060708090a0b0c0d0e0f");
  const std::string plain = unhex(
      "6bc1bee22e409f96e93d7e117393172a"
      "ae2d8a571e03ac9c9eb76fac45af8e51"
      "30c81c46a35ce411e5fbc1191a0a52ef"
      "f69f2445df4f9b17ad2b417be66c3710");
  const std::string cipher =
      "7649abac8119b246cee98e9b12e9197d"
      "5086cb9b507219ee95db113a917678b2"
      "73bed6b8e3c1743b7116e69e22229516"
      "3ff1caa1681fac09120eca307586e1a7";

  auto sealed = pf::Crypto::aes128CbcEncrypt(plain, key, iv);
  ASSERT_TRUE(sealed);
  EXPECT_EQ(pf::Crypto::hex(*sealed), cipher);  // same length: no padding block added

  // Chaining: the second block alone, with the first ciphertext block as its IV.
  auto second = pf::Crypto::aes128CbcEncrypt(plain.substr(16, 16), key, sealed->substr(0, 16));
  ASSERT_TRUE(second);
  EXPECT_EQ(pf::Crypto::hex(*second), cipher.substr(32, 32));

  auto opened = pf::Crypto::aes128CbcDecrypt(*sealed, key, iv);
  ASSERT_TRUE(opened);
  EXPECT_EQ(*opened, plain);
}

TEST(Crypto, AESRefusesPartialBlocksAndWrongSizes) {
  const std::string key(16, 'k');
  const std::string iv(16, 'i');
  EXPECT_FALSE(pf::Crypto::aes128CbcEncrypt(std::string(15, 'x'), key, iv));
  EXPECT_FALSE(pf::Crypto::aes128CbcEncrypt(std::string(17, 'x'), key, iv));
  EXPECT_FALSE(pf::Crypto::aes128CbcEncrypt(std::string(16, 'x'), std::string(15, 'k'), iv));
  EXPECT_FALSE(pf::Crypto::aes128CbcEncrypt(std::string(16, 'x'), std::string(32, 'k'), iv));
  EXPECT_FALSE(pf::Crypto::aes128CbcEncrypt(std::string(16, 'x'), key, std::string(8, 'i')));
  EXPECT_FALSE(pf::Crypto::aes128CbcDecrypt(std::string(20, 'x'), key, iv));
  auto empty = pf::Crypto::aes128CbcEncrypt("", key, iv);
  ASSERT_TRUE(empty);
  EXPECT_TRUE(empty->empty());
}

TEST(Crypto, RandomGivesTheCLibrarySequenceForTheSameSeed) {
  for (unsigned seed : {0u, 1u, 2u, 42u, 12345u, 0x7fffffffu, 0x80000000u, 0xdeadbeefu, 0xffffffffu}) {
    ::srandom(seed);
    pf::Crypto::seedRandom(seed);
    for (int i = 0; i < 2000; ++i) {
      long expected = ::random();
      long got = pf::Crypto::random();
      ASSERT_EQ(got, expected) << "seed " << seed << " draw " << i;
      ASSERT_GE(got, 0);
      ASSERT_LE(got, 2147483647L);
    }
  }
}

TEST(Crypto, RandomHasItsOwnStateAndReseedingRestarts) {
  pf::Crypto::seedRandom(7);
  long first = pf::Crypto::random();
  long second = pf::Crypto::random();
  ::srandom(99);  // the C library's generator is another one
  (void)::random();
  pf::Crypto::seedRandom(7);
  EXPECT_EQ(pf::Crypto::random(), first);
  ::srandom(3);
  EXPECT_EQ(pf::Crypto::random(), second);
}
