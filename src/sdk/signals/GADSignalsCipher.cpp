#include "sdk/signals/GADSignalsCipher.h"

#include <unistd.h>

#include <algorithm>

#include "platform/base/Crypto.h"
#include "sdk/encoding/GAD_DOZStringEncoding.h"

namespace {

const GAD_DOZStringEncoding& websafe() {
  // Made once: building an encoding's tables costs more than a text.
  static const auto encoding = [] {
    auto e = GAD_DOZStringEncoding::rfc4648Base64WebsafeStringEncoding();
    e.setDoPad(false);  // "=" would end a query name or cut a value short
    return e;
  }();
  return encoding;
}

// Nonces from random bytes drawn a batch at a time: one call into OpenSSL's generator for 64
// texts instead of one each (the call, not the bytes, is what costs on a busy main thread).
// Bytes are handed out once; a forked child throws away what its parent had drawn.
class NoncePool {
 public:
  std::optional<std::string> take() {
    if (next_ == pool_.size() || owner_ != getpid()) {
      auto fresh = pf::Crypto::randomBytes(kBatch * GADSignalsCipher::kNonceSize);
      if (!fresh) return std::nullopt;
      pool_ = std::move(*fresh);
      next_ = 0;
      owner_ = getpid();
    }
    std::string nonce = pool_.substr(next_, GADSignalsCipher::kNonceSize);
    std::fill(pool_.begin() + static_cast<std::ptrdiff_t>(next_),
              pool_.begin() + static_cast<std::ptrdiff_t>(next_ + GADSignalsCipher::kNonceSize), '\0');
    next_ += GADSignalsCipher::kNonceSize;
    return nonce;
  }

 private:
  static constexpr size_t kBatch = 64;
  std::string pool_;
  size_t next_ = 0;
  pid_t owner_ = 0;
};

bool isWebsafeSymbol(char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' || c == '_';
}

}  // namespace

std::string GADSignalsCipher::keyMark(std::string_view key) {
  // The same key on every text of a process: its mark is worked out once.
  thread_local std::string lastKey, lastMark;
  if (lastMark.empty() || key != lastKey) {
    lastMark = pf::Crypto::sha256(key).substr(0, kKeyMarkSize);
    lastKey = std::string(key);
  }
  return lastMark;
}

std::optional<std::string> GADSignalsCipher::seal(const GADSignalsRecord& record, std::string_view key) {
  auto bytes = record.bytes();
  thread_local NoncePool nonces;
  auto nonce = nonces.take();
  if (!bytes || !nonce) return std::nullopt;
  return sealWithNonce(*bytes, key, *nonce);
}

std::optional<std::string> GADSignalsCipher::sealWithNonce(std::string_view recordBytes, std::string_view key,
                                                           std::string_view nonce) {
  if (key.size() != pf::Crypto::kAES128KeySize || nonce.size() != kNonceSize) return std::nullopt;
  std::string header(1, static_cast<char>(kFormat));
  header += keyMark(key);
  auto sealed = pf::Crypto::aes128GcmSeal(recordBytes, key, nonce, header);
  if (!sealed) return std::nullopt;
  return websafe().encode(header + std::string(nonce) + *sealed);
}

GADSignalsCipher::Opened GADSignalsCipher::open(std::string_view text, std::string_view key) {
  // The encoding alone would also take padding and skip blanks; a signal has neither.
  for (char c : text) {
    if (!isWebsafeSymbol(c)) return {std::nullopt, Failure::NotBase64};
  }
  auto bytes = websafe().decode(text);
  if (!bytes) return {std::nullopt, Failure::NotBase64};
  if (bytes->size() < kHeaderSize + kNonceSize + kTagSize) return {std::nullopt, Failure::TooShort};
  if (static_cast<unsigned char>((*bytes)[0]) != kFormat) return {std::nullopt, Failure::UnknownFormat};
  std::string_view all(*bytes);
  if (key.size() != pf::Crypto::kAES128KeySize || all.substr(1, kKeyMarkSize) != keyMark(key)) {
    return {std::nullopt, Failure::WrongKey};
  }
  auto plain = pf::Crypto::aes128GcmOpen(all.substr(kHeaderSize + kNonceSize), key,
                                         all.substr(kHeaderSize, kNonceSize), all.substr(0, kHeaderSize));
  if (!plain) return {std::nullopt, Failure::Tampered};
  auto record = GADSignalsRecord::fromBytes(*plain);
  if (!record) return {std::nullopt, Failure::NotARecord};
  return {std::move(record), Failure::None};
}

const char* GADSignalsCipher::describe(Failure failure) {
  switch (failure) {
    case Failure::None: return "a genuine signal";
    case Failure::NotBase64: return "bad base64: not web-safe base64 without padding";
    case Failure::TooShort: return "too short to be a signal";
    case Failure::UnknownFormat: return "unknown format (first byte is not 1)";
    case Failure::WrongKey: return "wrong key: sealed under another key";
    case Failure::Tampered: return "tampered: the authentication tag does not match (changed or cut)";
    case Failure::NotARecord: return "genuine, but not a signal record";
  }
  return "unknown failure";
}
