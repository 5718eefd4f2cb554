#include "SignalReader.h"

#include "TextEscape.h"

#include <openssl/evp.h>

#include <algorithm>
#include <memory>

namespace {

constexpr size_t kMarkSize = 4;
constexpr size_t kHeaderSize = 1 + kMarkSize;
constexpr size_t kNonceSize = 12;
constexpr size_t kTagSize = 16;
constexpr size_t kKeySize = 16;

int symbolValue(char c) {
  if (c >= 'A' && c <= 'Z') return c - 'A';
  if (c >= 'a' && c <= 'z') return c - 'a' + 26;
  if (c >= '0' && c <= '9') return c - '0' + 52;
  if (c == '-') return 62;
  if (c == '_') return 63;
  return -1;
}

// Strict web-safe base64 without padding: every character a symbol, a length that makes
// whole bytes (not 1 more than a multiple of 4), and the unused low bits of the last symbol
// zero, so each byte string has exactly one text.
std::optional<std::string> websafeBase64(std::string_view text) {
  if (text.size() % 4 == 1) return std::nullopt;
  std::string out;
  out.reserve(text.size() * 3 / 4);
  uint32_t bits = 0;
  int held = 0;
  for (char c : text) {
    int v = symbolValue(c);
    if (v < 0) return std::nullopt;
    bits = (bits << 6) | static_cast<uint32_t>(v);
    held += 6;
    if (held >= 8) {
      held -= 8;
      out.push_back(static_cast<char>((bits >> held) & 0xff));
    }
  }
  if ((bits & ((1u << held) - 1)) != 0) return std::nullopt;
  return out;
}

std::string sha256(std::string_view bytes) {
  unsigned char digest[EVP_MAX_MD_SIZE];
  unsigned int length = 0;
  if (EVP_Digest(bytes.data(), bytes.size(), digest, &length, EVP_sha256(), nullptr) != 1) return std::string();
  return std::string(reinterpret_cast<const char*>(digest), length);
}

struct ContextFree {
  void operator()(EVP_CIPHER_CTX* ctx) const { EVP_CIPHER_CTX_free(ctx); }
};

// The record inside a box of nonce · ciphertext · tag, or none when the tag does not match.
std::optional<std::string> openGcm(std::string_view key, std::string_view header, std::string_view box) {
  std::string_view nonce = box.substr(0, kNonceSize);
  std::string_view sealed = box.substr(kNonceSize, box.size() - kNonceSize - kTagSize);
  std::string tag(box.substr(box.size() - kTagSize));
  std::unique_ptr<EVP_CIPHER_CTX, ContextFree> ctx(EVP_CIPHER_CTX_new());
  if (!ctx) return std::nullopt;
  auto u = [](std::string_view s) { return reinterpret_cast<const unsigned char*>(s.data()); };
  int n = 0;
  if (EVP_DecryptInit_ex(ctx.get(), EVP_aes_128_gcm(), nullptr, u(key), u(nonce)) != 1 ||
      EVP_DecryptUpdate(ctx.get(), nullptr, &n, u(header), static_cast<int>(header.size())) != 1) {
    return std::nullopt;
  }
  std::string plain(sealed.size(), '\0');
  auto out = reinterpret_cast<unsigned char*>(plain.data());
  int written = 0;
  if (!sealed.empty() &&
      EVP_DecryptUpdate(ctx.get(), out, &written, u(sealed), static_cast<int>(sealed.size())) != 1) {
    return std::nullopt;
  }
  if (EVP_CIPHER_CTX_ctrl(ctx.get(), EVP_CTRL_AEAD_SET_TAG, static_cast<int>(kTagSize), tag.data()) != 1) {
    return std::nullopt;
  }
  int last = 0;
  if (EVP_DecryptFinal_ex(ctx.get(), out + written, &last) != 1) return std::nullopt;
  plain.resize(static_cast<size_t>(written + last));
  return plain;
}

// Big-endian fields off the front; a read past the end fails and makes every later one fail.
class Fields {
 public:
  explicit Fields(std::string_view bytes) : rest_(bytes) {}
  uint32_t number(size_t size) {
    if (!ok_ || rest_.size() < size) return fail();
    uint32_t v = 0;
    for (size_t i = 0; i < size; ++i) v = (v << 8) | static_cast<unsigned char>(rest_[i]);
    rest_.remove_prefix(size);
    return v;
  }
  std::string bytes(size_t size) {
    if (!ok_ || rest_.size() < size) return fail(), std::string();
    std::string out(rest_.substr(0, size));
    rest_.remove_prefix(size);
    return out;
  }
  bool complete() const { return ok_ && rest_.empty(); }

 private:
  uint32_t fail() {
    ok_ = false;
    return 0;
  }
  std::string_view rest_;
  bool ok_ = true;
};

std::optional<SignalRecord> parseRecord(std::string_view bytes) {
  Fields f(bytes);
  SignalRecord r;
  r.kind = static_cast<char>(f.number(1));
  if (r.kind != 'r' && r.kind != 'c') return std::nullopt;
  r.session = f.bytes(8);
  r.sequence = f.number(4);
  r.requestType = static_cast<int32_t>(f.number(4));
  r.sdkVersion = f.bytes(f.number(1));
  r.touches = f.number(4);
  r.tx = static_cast<int32_t>(f.number(4));
  r.ty = static_cast<int32_t>(f.number(4));
  r.td = static_cast<int32_t>(f.number(4));
  if (r.kind == 'c') r.ai = f.bytes(f.number(2));
  if (!f.complete()) return std::nullopt;
  return r;
}

std::string hex(std::string_view bytes) {
  static const char* digits = "0123456789abcdef";
  std::string out;
  for (unsigned char c : bytes) {
    out.push_back(digits[c >> 4]);
    out.push_back(digits[c & 15]);
  }
  return out;
}

}  // namespace

std::string SignalRecord::summary() const {
  std::string out = std::string(kind == 'c' ? "click" : "request") + " #" + std::to_string(sequence) + " \u00b7 session " +
                    hex(session) + " \u00b7 type " + std::to_string(requestType) + " \u00b7 " +
                    (sdkVersion.empty() ? "(no version)" : sdkVersion) + " \u00b7 " + std::to_string(touches) +
                    (touches == 1 ? " touch" : " touches");
  if (touches > 0) {
    out += ", last at " + std::to_string(tx) + "," + std::to_string(ty) + " held " + std::to_string(td) + " ms";
  }
  if (kind == 'c') out += " \u00b7 ai " + ai;
  return out;
}

std::string SignalRecord::json() const {
  std::string out = "{\"kind\": \"" + std::string(kind == 'c' ? "click" : "request") + "\", \"session\": \"" +
                    hex(session) + "\", \"sequence\": " + std::to_string(sequence) +
                    ", \"request_type\": " + std::to_string(requestType) +
                    ", \"sdk_version\": " + TextEscape::json(sdkVersion) + ", \"touches\": " + std::to_string(touches) +
                    ", \"last_touch\": {\"tx\": " + std::to_string(tx) + ", \"ty\": " + std::to_string(ty) +
                    ", \"td\": " + std::to_string(td) + "}";
  if (kind == 'c') out += ", \"ai\": " + TextEscape::json(ai);
  return out + "}";
}

std::optional<std::string> SignalReader::keyFromHex(std::string_view hex) {
  if (hex.size() != 2 * kKeySize) return std::nullopt;
  std::string key;
  for (size_t i = 0; i < hex.size(); i += 2) {
    auto digit = [](char c) {
      if (c >= '0' && c <= '9') return c - '0';
      if (c >= 'a' && c <= 'f') return c - 'a' + 10;
      if (c >= 'A' && c <= 'F') return c - 'A' + 10;
      return -1;
    };
    int high = digit(hex[i]), low = digit(hex[i + 1]);
    if (high < 0 || low < 0) return std::nullopt;
    key.push_back(static_cast<char>(high * 16 + low));
  }
  return key;
}

const char* SignalReader::describe(Fault fault) {
  switch (fault) {
    case Fault::None: return "valid";
    case Fault::NotBase64: return "bad base64";
    case Fault::TooShort: return "too short";
    case Fault::UnknownFormat: return "unknown format";
    case Fault::WrongKey: return "wrong key";
    case Fault::Tampered: return "tampered";
    case Fault::NotARecord: return "not a record";
    case Fault::WrongKind: return "wrong kind for this request";
    case Fault::OtherClick: return "another click's ai";
  }
  return "?";
}

SignalReader::SignalReader(std::string key) : key_(std::move(key)) {
  if (key_.size() == kKeySize) keyMark_ = sha256(key_).substr(0, kMarkSize);
}

SignalReader::Reading SignalReader::read(std::string_view text) const {
  auto bytes = websafeBase64(text);
  if (!bytes) return {std::nullopt, Fault::NotBase64};
  if (bytes->size() < kHeaderSize + kNonceSize + kTagSize) return {std::nullopt, Fault::TooShort};
  std::string_view all(*bytes);
  if (all[0] != 1) return {std::nullopt, Fault::UnknownFormat};
  if (keyMark_.empty() || all.substr(1, kMarkSize) != keyMark_) return {std::nullopt, Fault::WrongKey};
  auto plain = openGcm(key_, all.substr(0, kHeaderSize), all.substr(kHeaderSize));
  if (!plain) return {std::nullopt, Fault::Tampered};
  auto record = parseRecord(*plain);
  if (!record) return {std::nullopt, Fault::NotARecord};
  return {std::move(record), Fault::None};
}

SignalReader::Reading SignalReader::readRequestSignal(std::string_view text) const {
  Reading r = read(text);
  if (r.record && r.record->kind != 'r') return {std::nullopt, Fault::WrongKind};
  return r;
}

SignalReader::Reading SignalReader::readClickSignal(std::string_view text, const std::vector<std::string>& rawAis) const {
  Reading r = read(text);
  if (!r.record) return r;
  if (r.record->kind != 'c') return {std::nullopt, Fault::WrongKind};
  if (std::find(rawAis.begin(), rawAis.end(), r.record->ai) == rawAis.end()) return {std::nullopt, Fault::OtherClick};
  return r;
}
