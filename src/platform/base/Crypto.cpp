#include "platform/base/Crypto.h"

#include <openssl/evp.h>
#include <openssl/rand.h>

#include <array>
#include <cstdint>
#include <cstring>
#include <memory>
#include <mutex>

namespace pf {

namespace {

// glibc's random() with its default 128-byte state (TYPE_3: x^31 + x^3 + 1), step for step,
// so a seed gives the very numbers the C library gives.
class AdditiveRandom {
 public:
  AdditiveRandom() { seed(1); }

  void seed(unsigned value) {
    if (value == 0) value = 1;  // as the C library: seed 0 is seed 1
    state_[0] = static_cast<int32_t>(value);
    int32_t word = static_cast<int32_t>(value);  // a seed above 2^31 - 1 starts negative there too
    for (size_t i = 1; i < kDegree; ++i) {
      // 16807 * word % (2^31 - 1) without overflowing 31 bits (Schrage's method).
      int64_t hi = word / 127773;
      int64_t lo = word % 127773;
      word = static_cast<int32_t>(16807 * lo - 2836 * hi);
      if (word < 0) word += 2147483647;
      state_[i] = static_cast<int32_t>(word);
    }
    front_ = kSeparation;
    rear_ = 0;
    for (size_t i = 0; i < 10 * kDegree; ++i) next();  // stir, as srandom() does
  }

  long next() {
    uint32_t value = static_cast<uint32_t>(state_[front_]) + static_cast<uint32_t>(state_[rear_]);
    state_[front_] = static_cast<int32_t>(value);
    front_ = (front_ + 1) % kDegree;
    rear_ = (rear_ + 1) % kDegree;
    return static_cast<long>(value >> 1);
  }

 private:
  static constexpr size_t kDegree = 31;
  static constexpr size_t kSeparation = 3;
  std::array<int32_t, kDegree> state_{};
  size_t front_ = kSeparation;
  size_t rear_ = 0;
};

std::mutex& randomMutex() {
  static std::mutex m;
  return m;
}

AdditiveRandom& randomState() {
  static AdditiveRandom r;
  return r;
}

struct CipherContextFree {
  void operator()(EVP_CIPHER_CTX* ctx) const { EVP_CIPHER_CTX_free(ctx); }
};

std::optional<std::string> aes128Cbc(bool encrypt, std::string_view input, std::string_view key,
                                     std::string_view iv) {
  if (key.size() != Crypto::kAES128KeySize || iv.size() != Crypto::kAESBlockSize ||
      input.size() % Crypto::kAESBlockSize != 0 || input.size() > INT32_MAX) {
    return std::nullopt;
  }
  if (input.empty()) return std::string();
  std::unique_ptr<EVP_CIPHER_CTX, CipherContextFree> ctx(EVP_CIPHER_CTX_new());
  if (!ctx) return std::nullopt;
  auto k = reinterpret_cast<const unsigned char*>(key.data());
  auto v = reinterpret_cast<const unsigned char*>(iv.data());
  if (EVP_CipherInit_ex(ctx.get(), EVP_aes_128_cbc(), nullptr, k, v, encrypt ? 1 : 0) != 1) {
    return std::nullopt;
  }
  EVP_CIPHER_CTX_set_padding(ctx.get(), 0);
  std::string out(input.size() + Crypto::kAESBlockSize, '\0');
  auto o = reinterpret_cast<unsigned char*>(out.data());
  int written = 0;
  int last = 0;
  if (EVP_CipherUpdate(ctx.get(), o, &written, reinterpret_cast<const unsigned char*>(input.data()),
                       static_cast<int>(input.size())) != 1 ||
      EVP_CipherFinal_ex(ctx.get(), o + written, &last) != 1) {
    return std::nullopt;
  }
  out.resize(static_cast<size_t>(written + last));
  return out;
}

// The algorithms, looked up in OpenSSL's providers once and kept for the process: a lookup on
// each call walks OpenSSL's method store, which costs far more than the work itself once the
// caches are cold (as they are between two ad requests of a running application).
const EVP_CIPHER* aes128GcmCipher() {
  static EVP_CIPHER* cipher = EVP_CIPHER_fetch(nullptr, "AES-128-GCM", nullptr);
  return cipher;
}

const EVP_MD* sha256Digest() {
  static EVP_MD* digest = EVP_MD_fetch(nullptr, "SHA256", nullptr);
  return digest;
}

// AES-128-GCM one way or the other. `input` is the plaintext (sealing) or the ciphertext
// without its tag (opening); `tag` is written (sealing) or checked (opening).
std::optional<std::string> aes128Gcm(bool seal, std::string_view input, std::string_view key, std::string_view nonce,
                                     std::string_view associated, unsigned char* tag) {
  if (key.size() != Crypto::kAES128KeySize || nonce.size() != Crypto::kGCMNonceSize || input.size() > INT32_MAX ||
      associated.size() > INT32_MAX) {
    return std::nullopt;
  }
  std::unique_ptr<EVP_CIPHER_CTX, CipherContextFree> ctx(EVP_CIPHER_CTX_new());
  if (!ctx) return std::nullopt;
  auto k = reinterpret_cast<const unsigned char*>(key.data());
  auto n = reinterpret_cast<const unsigned char*>(nonce.data());
  // The default nonce length of GCM in OpenSSL is 12 bytes, the one used here.
  const EVP_CIPHER* cipher = aes128GcmCipher();
  if (!cipher || EVP_CipherInit_ex(ctx.get(), cipher, nullptr, k, n, seal ? 1 : 0) != 1) return std::nullopt;
  int written = 0;
  if (!associated.empty() &&
      EVP_CipherUpdate(ctx.get(), nullptr, &written, reinterpret_cast<const unsigned char*>(associated.data()),
                       static_cast<int>(associated.size())) != 1) {
    return std::nullopt;
  }
  std::string out(input.size(), '\0');
  auto o = reinterpret_cast<unsigned char*>(out.data());
  written = 0;
  if (!input.empty() && EVP_CipherUpdate(ctx.get(), o, &written, reinterpret_cast<const unsigned char*>(input.data()),
                                         static_cast<int>(input.size())) != 1) {
    return std::nullopt;
  }
  if (!seal && EVP_CIPHER_CTX_ctrl(ctx.get(), EVP_CTRL_AEAD_SET_TAG, Crypto::kGCMTagSize, tag) != 1) {
    return std::nullopt;
  }
  int last = 0;
  // Opening, this is where a tag that does not match is found.
  if (EVP_CipherFinal_ex(ctx.get(), o + written, &last) != 1) return std::nullopt;
  if (seal && EVP_CIPHER_CTX_ctrl(ctx.get(), EVP_CTRL_AEAD_GET_TAG, Crypto::kGCMTagSize, tag) != 1) {
    return std::nullopt;
  }
  out.resize(static_cast<size_t>(written + last));
  return out;
}

}  // namespace

std::string Crypto::sha256(std::string_view bytes) {
  unsigned char digest[EVP_MAX_MD_SIZE];
  unsigned int length = 0;
  const EVP_MD* md = sha256Digest();
  if (!md || EVP_Digest(bytes.data(), bytes.size(), digest, &length, md, nullptr) != 1 ||
      length != kSHA256Length) {
    return std::string();  // only when OpenSSL cannot offer SHA-256 at all
  }
  return std::string(reinterpret_cast<const char*>(digest), length);
}

std::optional<std::string> Crypto::aes128GcmSeal(std::string_view plaintext, std::string_view key,
                                                 std::string_view nonce, std::string_view associated) {
  unsigned char tag[kGCMTagSize];
  auto sealed = aes128Gcm(true, plaintext, key, nonce, associated, tag);
  if (!sealed) return std::nullopt;
  sealed->append(reinterpret_cast<const char*>(tag), kGCMTagSize);
  return sealed;
}

std::optional<std::string> Crypto::aes128GcmOpen(std::string_view sealed, std::string_view key,
                                                 std::string_view nonce, std::string_view associated) {
  if (sealed.size() < kGCMTagSize) return std::nullopt;
  unsigned char tag[kGCMTagSize];
  std::memcpy(tag, sealed.data() + sealed.size() - kGCMTagSize, kGCMTagSize);
  return aes128Gcm(false, sealed.substr(0, sealed.size() - kGCMTagSize), key, nonce, associated, tag);
}

std::optional<std::string> Crypto::randomBytes(size_t count) {
  if (count > INT32_MAX) return std::nullopt;
  std::string out(count, '\0');
  if (count > 0 && RAND_bytes(reinterpret_cast<unsigned char*>(out.data()), static_cast<int>(count)) != 1) {
    return std::nullopt;
  }
  return out;
}

std::string Crypto::md5(std::string_view bytes) {
  unsigned char digest[EVP_MAX_MD_SIZE];
  unsigned int length = 0;
  if (EVP_Digest(bytes.data(), bytes.size(), digest, &length, EVP_md5(), nullptr) != 1 ||
      length != kMD5Length) {
    return std::string();  // only when OpenSSL cannot offer MD5 at all
  }
  return std::string(reinterpret_cast<const char*>(digest), length);
}

std::string Crypto::md5Hex(std::string_view bytes) { return hex(md5(bytes)); }

std::string Crypto::hex(std::string_view bytes) {
  static const char* digits = "0123456789abcdef";
  std::string out;
  out.reserve(bytes.size() * 2);
  for (unsigned char c : bytes) {
    out += digits[c >> 4];
    out += digits[c & 15];
  }
  return out;
}

std::optional<std::string> Crypto::aes128CbcEncrypt(std::string_view plaintext, std::string_view key,
                                                    std::string_view iv) {
  return aes128Cbc(true, plaintext, key, iv);
}

std::optional<std::string> Crypto::aes128CbcDecrypt(std::string_view ciphertext,
                                                    std::string_view key, std::string_view iv) {
  return aes128Cbc(false, ciphertext, key, iv);
}

void Crypto::seedRandom(unsigned seed) {
  std::lock_guard lock(randomMutex());
  randomState().seed(seed);
}

long Crypto::random() {
  std::lock_guard lock(randomMutex());
  return randomState().next();
}

}  // namespace pf
