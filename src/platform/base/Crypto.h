#pragma once
// pf::Crypto: the digest, cipher and random numbers the ad layer uses — MD5, AES-128-CBC
// without padding (over OpenSSL's EVP interface) and a seedable random() that gives exactly
// the sequence of the C library's srandom()/random(), kept apart from the C library's own
// state so nothing else in the process disturbs it.
//
//   pf::Crypto::md5Hex("");                                  // "d41d8cd98f00b204e9800998ecf8427e"
//   auto sealed = pf::Crypto::aes128CbcEncrypt(text, key, iv);  // none unless 16 divides the size
#include <optional>
#include <string>
#include <string_view>

namespace pf {

class Crypto {
 public:
  static constexpr size_t kMD5Length = 16;
  static constexpr size_t kAESBlockSize = 16;
  static constexpr size_t kAES128KeySize = 16;

  // The 16 raw bytes of the MD5 digest of `bytes`.
  static std::string md5(std::string_view bytes);
  // The same as 32 lowercase hexadecimal digits.
  static std::string md5Hex(std::string_view bytes);
  // Bytes as lowercase hexadecimal, two digits each.
  static std::string hex(std::string_view bytes);

  // AES-128 in CBC mode with no padding. None when the input is not a whole number of
  // 16-byte blocks, or the key or IV is not 16 bytes. Empty input gives empty output.
  static std::optional<std::string> aes128CbcEncrypt(std::string_view plaintext,
                                                     std::string_view key, std::string_view iv);
  static std::optional<std::string> aes128CbcDecrypt(std::string_view ciphertext,
                                                     std::string_view key, std::string_view iv);

  // srandom()/random(): after seedRandom(s), random() answers what the C library's random()
  // answers after srandom(s) — numbers in [0, 2^31 - 1]. Unseeded, it behaves as seed 1.
  static void seedRandom(unsigned seed);
  static long random();
};

}  // namespace pf
