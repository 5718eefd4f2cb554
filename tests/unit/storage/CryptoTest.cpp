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

// One published vector each shows the wrappers are wired to OpenSSL the right way round;
// OpenSSL's own conformance is not ours to test.
TEST(Crypto, MD5AndAES128CBCMatchOnePublishedVectorEach) {
  EXPECT_EQ(pf::Crypto::md5Hex("message digest"), "f96b697d7cb7938d525a2f31aaf161d0");  // RFC 1321
  EXPECT_EQ(pf::Crypto::md5("message digest"), unhex("f96b697d7cb7938d525a2f31aaf161d0"));
  // A digest of text cut at the first NUL would equal md5("a").
  EXPECT_NE(pf::Crypto::md5Hex(std::string("a\0b", 3)), pf::Crypto::md5Hex("a"));
  EXPECT_EQ(pf::Crypto::hex(std::string("\x00\x7f\x80\xff", 4)), "007f80ff");

  // NIST SP 800-38A, F.2.1, two blocks: the second is chained to the first; no padding added.
  const std::string key = unhex("2b7e151628aed2a6abf7158809cf4f3c");
  const std::string iv = unhex("000102030405060708090a0b0c0d0e0f");
  const std::string plain = unhex("6bc1bee22e409f96e93d7e117393172aae2d8a571e03ac9c9eb76fac45af8e51");
  auto sealed = pf::Crypto::aes128CbcEncrypt(plain, key, iv);
  ASSERT_TRUE(sealed);
  EXPECT_EQ(pf::Crypto::hex(*sealed), "7649abac8119b246cee98e9b12e9197d5086cb9b507219ee95db113a917678b2");
  EXPECT_EQ(pf::Crypto::aes128CbcDecrypt(*sealed, key, iv), plain);
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
  EXPECT_EQ(pf::Crypto::aes128CbcEncrypt("", key, iv), std::optional<std::string>(""));
}

// Draws alternate with the C library's own: a shared state would fall out of step. Every seed,
// the one given twice in a row too, restarts the sequence.
TEST(Crypto, RandomGivesTheCLibrarySequenceForTheSameSeed) {
  for (unsigned seed : {0u, 1u, 42u, 42u, 0x80000000u, 0xffffffffu}) {
    ::srandom(seed);
    pf::Crypto::seedRandom(seed);
    for (int i = 0; i < 2000; ++i) ASSERT_EQ(pf::Crypto::random(), ::random()) << "seed " << seed << " draw " << i;
  }
}

TEST(Crypto, SHA256AndAES128GCMMatchOnePublishedVectorEach) {
  // FIPS 180-2, appendix B.1.
  EXPECT_EQ(pf::Crypto::hex(pf::Crypto::sha256("abc")),
            "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad");
  // The GCM paper's test case 4 (McGrew and Viega): 60 bytes of text, 20 of associated data.
  const std::string key = unhex("feffe9928665731c6d6a8f9467308308");
  const std::string nonce = unhex("cafebabefacedbaddecaf888");
  const std::string aad = unhex("feedfacedeadbeeffeedfacedeadbeefabaddad2");
  const std::string plain = unhex(
      "d9313225f88406e5a55909c5aff5269a86a7a9531534f7da2e4c303d8a318a721c3c0c95956809532fcf0e2449a6b525b16aedf5aa0de657"
      "ba637b39");
  auto sealed = pf::Crypto::aes128GcmSeal(plain, key, nonce, aad);
  ASSERT_TRUE(sealed);
  EXPECT_EQ(pf::Crypto::hex(*sealed),
            "42831ec2217774244b7221b784d0d49ce3aa212f2c02a4e035c17e2329aca12e21d514b25466931c7d8f6a5aac84aa051ba30b396a0a"
            "ac973d58e091"
            "5bc94fbc3221a5db94fae95ae7121a47");
  EXPECT_EQ(pf::Crypto::aes128GcmOpen(*sealed, key, nonce, aad), plain);
}

// The wrapper's own part: the tag split off the end and checked, the associated data passed on.
TEST(Crypto, GCMOpensOnlyWhatWasSealedWithTheSameData) {
  const std::string key(16, 'k'), nonce(12, 'n');
  auto sealed = pf::Crypto::aes128GcmSeal("text", key, nonce, "head");
  ASSERT_TRUE(sealed);
  ASSERT_EQ(sealed->size(), 4u + 16u);
  EXPECT_EQ(pf::Crypto::aes128GcmOpen(*sealed, key, nonce, "head"), std::optional<std::string>("text"));
  std::string flipped = *sealed;
  flipped[0] ^= 1;
  const struct {
    const char* what;
    std::string box, key, nonce, aad;
  } refused[] = {
      {"a changed byte", flipped, key, nonce, "head"},
      {"other associated data", *sealed, key, nonce, "Head"},
      {"cut short", sealed->substr(0, sealed->size() - 1), key, nonce, "head"},
      {"shorter than a tag", sealed->substr(0, 15), key, nonce, "head"},
      {"a key of 15 bytes", *sealed, std::string(15, 'k'), nonce, "head"},
      {"a nonce of 16 bytes", *sealed, key, std::string(16, 'n'), "head"},
  };
  for (const auto& r : refused) {
    SCOPED_TRACE(r.what);
    EXPECT_FALSE(pf::Crypto::aes128GcmOpen(r.box, r.key, r.nonce, r.aad));
  }
  // Nothing to seal still makes a tag.
  auto empty = pf::Crypto::aes128GcmSeal("", key, nonce, "");
  ASSERT_TRUE(empty);
  EXPECT_EQ(pf::Crypto::aes128GcmOpen(*empty, key, nonce, ""), std::optional<std::string>(""));
  EXPECT_FALSE(pf::Crypto::aes128GcmSeal("text", std::string(15, 'k'), nonce, ""));
}
