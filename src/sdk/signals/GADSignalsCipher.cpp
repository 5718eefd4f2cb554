#include "sdk/signals/GADSignalsCipher.h"

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

bool isWebsafeSymbol(char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' || c == '_';
}

}  // namespace

std::string GADSignalsCipher::keyMark(std::string_view key) { return pf::Crypto::sha256(key).substr(0, kKeyMarkSize); }

std::optional<std::string> GADSignalsCipher::seal(const GADSignalsRecord& record, std::string_view key) {
  auto bytes = record.bytes();
  auto nonce = pf::Crypto::randomBytes(kNonceSize);
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
