#pragma once
// pf::Crypto: the digests, ciphers and random numbers the ad layer uses — MD5 and SHA-256,
// AES-128-CBC without padding and AES-128-GCM (over OpenSSL's EVP interface), unpredictable
// bytes from OpenSSL's generator, and a seedable random() that gives exactly the sequence of
// the C library's srandom()/random(), kept apart from the C library's own state so nothing
// else in the process disturbs it.
//
//   pf::Crypto::md5Hex("");                                  // "d41d8cd98f00b204e9800998ecf8427e"
//   auto sealed = pf::Crypto::aes128CbcEncrypt(text, key, iv);  // none unless 16 divides the size
//   auto nonce = pf::Crypto::randomBytes(12);
//   auto box = pf::Crypto::aes128GcmSeal(text, key, *nonce, header);  // ciphertext + 16-byte tag
#include <optional>
#include <string>
#include <string_view>

namespace pf {

class Crypto {
 public:
  static constexpr size_t kMD5Length = 16;
  static constexpr size_t kAESBlockSize = 16;
  static constexpr size_t kAES128KeySize = 16;
  static constexpr size_t kSHA256Length = 32;
  static constexpr size_t kGCMNonceSize = 12;
  static constexpr size_t kGCMTagSize = 16;

  // The 16 raw bytes of the MD5 digest of `bytes`.
  static std::string md5(std::string_view bytes);
  // The same as 32 lowercase hexadecimal digits.
  static std::string md5Hex(std::string_view bytes);
  // The 32 raw bytes of the SHA-256 digest of `bytes`.
  static std::string sha256(std::string_view bytes);
  // Bytes as lowercase hexadecimal, two digits each.
  static std::string hex(std::string_view bytes);

  // AES-128 in CBC mode with no padding. None when the input is not a whole number of
  // 16-byte blocks, or the key or IV is not 16 bytes. Empty input gives empty output.
  static std::optional<std::string> aes128CbcEncrypt(std::string_view plaintext,
                                                     std::string_view key, std::string_view iv);
  static std::optional<std::string> aes128CbcDecrypt(std::string_view ciphertext,
                                                     std::string_view key, std::string_view iv);

  // AES-128 in GCM mode with a 12-byte nonce: the ciphertext (as long as the plaintext)
  // followed by the 16-byte tag, which also covers `associated` (sent in clear beside it).
  // None when the key or nonce has the wrong size.
  static std::optional<std::string> aes128GcmSeal(std::string_view plaintext, std::string_view key,
                                                  std::string_view nonce, std::string_view associated);
  // The plaintext of a sealed box; none when the tag does not match (another key, nonce or
  // associated data, or any byte changed), the box is shorter than a tag, or a size is wrong.
  static std::optional<std::string> aes128GcmOpen(std::string_view sealed, std::string_view key,
                                                  std::string_view nonce, std::string_view associated);

  // `count` unpredictable bytes from OpenSSL's generator; none if it cannot give them.
  static std::optional<std::string> randomBytes(size_t count);

  // srandom()/random(): after seedRandom(s), random() answers what the C library's random()
  // answers after srandom(s) — numbers in [0, 2^31 - 1]. Unseeded, it behaves as seed 1.
  static void seedRandom(unsigned seed);
  static long random();
};

}  // namespace pf
