#include "sdk/encoding/DOZStringEncodingCore.h"

#include <algorithm>
#include <cstdio>
#include <functional>
#include <type_traits>

#include "platform/base/AssertionHandler.h"
#include "sdk/encoding/DOZStringEncodingGroups.h"
#include "sdk/encoding/DOZStringEncodingTables.h"

namespace {

constexpr std::string_view kBinaryAlphabet = "01";
constexpr std::string_view kHexAlphabet = "0123456789ABCDEF";
constexpr std::string_view kBase32Alphabet = "ABCDEFGHIJKLMNOPQRSTUVWXYZ234567";
constexpr std::string_view kBase32HexAlphabet = "0123456789ABCDEFGHIJKLMNOPQRSTUV";
constexpr std::string_view kCrockfordAlphabet = "0123456789ABCDEFGHJKMNPQRSTVWXYZ";
constexpr std::string_view kBase64Alphabet =
    "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
constexpr std::string_view kBase64WebsafeAlphabet =
    "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789-_";
constexpr std::string_view kHexSynonyms = "AaBbCcDdEeFf";
constexpr std::string_view kCrockfordSynonyms = "0oO1iIlLAaBbCcDdEeFfGgHhJjKkMmNnPpQqRrSsTtVvWwXxYyZz";

// Room for the whole-word stores of the group decoder past the last byte.
constexpr size_t kDecodeSlack = 8;

// Whether `view` points into `s`'s buffer (resizing `s` would invalidate it).
bool overlaps(std::string_view view, const std::string& s) {
  const std::less<const char*> before;
  return !view.empty() && !before(view.data(), s.data()) && before(view.data(), s.data() + s.capacity());
}

bool isAscii(char c) { return static_cast<unsigned char>(c) < 128; }

// Strict UTF-8: no overlong forms, no surrogates, nothing above U+10FFFF.
bool isValidUtf8(std::string_view s) {
  size_t i = 0;
  const size_t n = s.size();
  while (i < n) {
    const auto c = static_cast<unsigned char>(s[i]);
    if (c < 0x80) {
      ++i;
      continue;
    }
    int extra;
    uint32_t cp;
    if (c >= 0xC2 && c <= 0xDF) {
      extra = 1, cp = c & 0x1F;
    } else if (c >= 0xE0 && c <= 0xEF) {
      extra = 2, cp = c & 0x0F;
    } else if (c >= 0xF0 && c <= 0xF4) {
      extra = 3, cp = c & 0x07;
    } else {
      return false;
    }
    if (n - i <= size_t(extra)) return false;
    for (int k = 1; k <= extra; ++k) {
      const auto cc = static_cast<unsigned char>(s[i + k]);
      if ((cc & 0xC0) != 0x80) return false;
      cp = (cp << 6) | (cc & 0x3F);
    }
    if ((extra == 2 && (cp < 0x800 || (cp >= 0xD800 && cp <= 0xDFFF))) ||
        (extra == 3 && (cp < 0x10000 || cp > 0x10FFFF))) {
      return false;
    }
    i += extra + 1;
  }
  return true;
}

}  // namespace

DOZStringEncodingCore::DOZStringEncodingCore(const char* className, Predefined which)
    : className_(className) {
  switch (which) {
    case Predefined::Binary:
      initWithString(kBinaryAlphabet);
      break;
    case Predefined::Hex:
      initWithString(kHexAlphabet);
      addDecodeSynonyms(kHexSynonyms);
      break;
    case Predefined::Base32:
    case Predefined::Base32Hex:
    case Predefined::Base64:
    case Predefined::Base64Websafe:
      initWithString(which == Predefined::Base32      ? kBase32Alphabet
                     : which == Predefined::Base32Hex ? kBase32HexAlphabet
                     : which == Predefined::Base64    ? kBase64Alphabet
                                                      : kBase64WebsafeAlphabet);
      setPaddingChar('=');
      setDoPad(true);
      break;
    case Predefined::Crockford:
      initWithString(kCrockfordAlphabet);
      addDecodeSynonyms(kCrockfordSynonyms);
      break;
  }
}

bool DOZStringEncodingCore::initWithString(std::string_view alphabet) {
  const size_t n = alphabet.size();
  if (n < 2 || n > 128 || (n & (n - 1)) != 0) return false;
  std::array<int8_t, 256> map;
  map.fill(kNotAllowed);
  for (size_t i = 0; i < n; ++i) {
    const auto c = static_cast<unsigned char>(alphabet[i]);
    if (c >= 128 || map[c] != kNotAllowed) return false;  // not ASCII, or repeated
    map[c] = static_cast<int8_t>(i);
  }
  int shift = 0;
  while ((size_t{1} << shift) < n) ++shift;

  // The smallest run of symbols that ends on a byte boundary: lcm(8, shift) / shift.
  int x = 8, y = shift;
  while (x != y) {
    if (x < y) {
      x += 8;
    } else {
      y += shift;
    }
  }

  charMapData_.assign(alphabet);
  reverseCharMap_ = map;
  shift_ = shift;
  mask_ = (1 << shift) - 1;
  padLen_ = y / shift;
  refreshTables();
  return true;
}

size_t DOZStringEncodingCore::symbolCount(size_t bytes) const {
  // ceil(8 × bytes / shift_), without the product overflowing for huge inputs; the divisor is
  // a constant in each case so no division instruction runs (it shows on short inputs).
  auto ceilSymbols = [bytes](auto shift) {
    constexpr size_t s = decltype(shift)::value;
    return bytes / s * 8 + (bytes % s * 8 + s - 1) / s;
  };
  switch (shift_) {
    case 1: return ceilSymbols(std::integral_constant<size_t, 1>());
    case 2: return ceilSymbols(std::integral_constant<size_t, 2>());
    case 3: return ceilSymbols(std::integral_constant<size_t, 3>());
    case 4: return ceilSymbols(std::integral_constant<size_t, 4>());
    case 5: return ceilSymbols(std::integral_constant<size_t, 5>());
    case 6: return ceilSymbols(std::integral_constant<size_t, 6>());
    default: return ceilSymbols(std::integral_constant<size_t, 7>());
  }
}

size_t DOZStringEncodingCore::paddedLength(size_t symbols) const {
  // Without a padding character there is nothing to pad with: no NUL characters in the text.
  if (!doPad_ || paddingChar_ == 0) return symbols;
  const size_t p = static_cast<size_t>(padLen_);  // 2, 4 or 8: lcm(8, shift) / shift
  return (symbols + p - 1) & ~(p - 1);
}

std::string DOZStringEncodingCore::encode(std::string_view data) const {
  // Made at its final size in one step (resizing an empty string takes the general path).
  std::string out(data.empty() || shift_ == 0 ? 0 : paddedLength(symbolCount(data.size())), '\0');
  encodeImpl(data, true, out);
  return out;
}

void DOZStringEncodingCore::encodeTo(std::string_view data, std::string& out) const {
  if (overlaps(data, out)) {
    out = encode(data);  // `data` would move under our feet as `out` is resized
    return;
  }
  encodeImpl(data, true, out);
}

std::string DOZStringEncodingCore::encodeWithBitLoop(std::string_view data) const {
  std::string out;
  encodeImpl(data, false, out);
  return out;
}

void DOZStringEncodingCore::encodeImpl(std::string_view data, bool fast, std::string& out) const {
  if (data.empty() || shift_ == 0) {
    out.clear();
    return;
  }
  const auto* in = reinterpret_cast<const uint8_t*>(data.data());
  const size_t len = data.size();
  const size_t symbols = symbolCount(len);
  const size_t total = paddedLength(symbols);
  out.resize(total);
  char* o = out.data();
  const char* alphabet = charMapData_.data();

  size_t next = 0;  // next input byte
  size_t written = 0;
  if (fast) {
    next = DOZStringEncodingGroups::encode(shift_, alphabet, tables_.get(), in, len, o, written);
  }

  // The bit loop, from a group boundary (or the start). The accumulator keeps at most
  // shift_ + 7 meaningful bits; higher bits are masked off when symbols are taken.
  if (next < len) {
    uint32_t accumulator = in[next++];
    int available = 8;
    while (available > 0 || next < len) {
      if (shift_ > available) {
        if (next < len) {
          accumulator = (accumulator << 8) | in[next++];
          available += 8;
        } else {
          accumulator <<= (shift_ - available);  // zero bits complete the last symbol
          available = shift_;
        }
      }
      available -= shift_;
      if (written == symbols) break;  // never past the symbols (checked below)
      o[written++] = alphabet[(accumulator >> available) & static_cast<uint32_t>(mask_)];
      accumulator &= (uint32_t{1} << available) - 1;
    }
  }
  if (written != symbols || next != len) {
    reportFailure("encode:", __LINE__, "Underflowed output buffer");
  }
  std::fill(o + symbols, o + total, paddingChar_);
}

std::optional<std::string> DOZStringEncodingCore::decode(std::string_view text) const {
  std::string out(decodeRoom(text.size()), '\0');  // at its working size in one step
  if (!decodeImpl(text, true, out)) return std::nullopt;
  return out;
}

bool DOZStringEncodingCore::decodeTo(std::string_view text, std::string& out) const {
  if (overlaps(text, out)) {
    auto bytes = decode(text);
    out = bytes ? std::move(*bytes) : std::string();
    return bytes.has_value();
  }
  const bool ok = decodeImpl(text, true, out);
  if (!ok) out.clear();
  return ok;
}

std::optional<std::string> DOZStringEncodingCore::decodeWithBitLoop(std::string_view text) const {
  std::string out;
  if (!decodeImpl(text, false, out)) return std::nullopt;
  return out;
}

// The bytes decodeImpl() works in for a text of `length` characters: shift_ × length / 8 (no
// overflow), plus slack for the whole-word stores of the fast paths.
size_t DOZStringEncodingCore::decodeRoom(size_t length) const {
  const size_t s = static_cast<size_t>(shift_);
  return length / 8 * s + length % 8 * s / 8 + kDecodeSlack;
}

bool DOZStringEncodingCore::decodeImpl(std::string_view text, bool fast, std::string& out) const {
  if (shift_ == 0) return false;
  const size_t len = text.size();
  const size_t capacity = decodeRoom(len) - kDecodeSlack;
  out.resize(capacity + kDecodeSlack);
  auto* o = reinterpret_cast<uint8_t*>(out.data());
  const int8_t* map = reverseCharMap_.data();

  uint32_t accumulator = 0;
  int pending = 0;  // bits in the accumulator not yet emitted
  bool sawPadding = false;
  size_t written = 0;
  size_t i = 0;
  while (i < len) {
    // At a group boundary nothing is carried over, so whole groups can go in one piece.
    if (fast && pending == 0 && !sawPadding) {
      i += DOZStringEncodingGroups::decode(shift_, map, tables_.get(), text.data() + i, len - i, o, written);
      if (i == len) break;
    }
    const int value = map[static_cast<unsigned char>(text[i++])];
    if (value == kPadding) {
      sawPadding = true;
      continue;
    }
    if (value == kIgnored) continue;
    if (value < 0 || sawPadding) return false;  // not allowed, or data after padding
    accumulator = (accumulator << shift_) | (static_cast<uint32_t>(value) & static_cast<uint32_t>(mask_));
    pending += shift_;
    if (pending >= 8) {
      pending -= 8;
      if (written >= capacity) {
        reportFailure("decode:", __LINE__, "Overflowed buffer");
        return false;
      }
      o[written++] = static_cast<uint8_t>(accumulator >> pending);
      accumulator &= (uint32_t{1} << pending) - 1;
    }
  }
  // What is left must be the zero fill of the last symbol: fewer bits than a symbol (a whole
  // symbol left over never came from encode()) and all of them zero.
  if (pending >= shift_ || (accumulator & ((uint32_t{1} << pending) - 1)) != 0) return false;
  out.resize(written);
  return true;
}

std::optional<std::string> DOZStringEncodingCore::stringByDecoding(std::string_view text) const {
  auto bytes = decode(text);
  if (!bytes || !isValidUtf8(*bytes)) return std::nullopt;
  return bytes;
}

void DOZStringEncodingCore::setPaddingChar(char c) {
  if (c == 0) {
    paddingChar_ = 0;
    return;
  }
  if (!isAscii(c)) {
    reportFailure("setPaddingChar:", __LINE__, "Character not ASCII");
    return;
  }
  auto& entry = reverseCharMap_[static_cast<unsigned char>(c)];
  if (entry != kNotAllowed && entry != kPadding) {
    // Padding that is also a symbol would make encoded text ambiguous.
    reportFailure("setPaddingChar:", __LINE__, "Character already mapped");
    return;
  }
  paddingChar_ = c;
  entry = kPadding;
}

void DOZStringEncodingCore::addDecodeSynonyms(std::string_view synonyms) {
  int8_t current = kNotAllowed;
  for (char c : synonyms) {
    if (!isAscii(c)) {
      reportFailure("addDecodeSynonyms:", __LINE__, "Character not ASCII");
      continue;
    }
    auto& entry = reverseCharMap_[static_cast<unsigned char>(c)];
    if (entry == kNotAllowed) {
      entry = current;
    } else {
      current = entry;
    }
  }
  refreshTables();  // new symbols for the decoding table
}

void DOZStringEncodingCore::refreshTables() {
  // Only the symbols matter to the tables; padding and ignored characters stop a fast group
  // either way and are left to the bit loop.
  tables_ = shift_ == 6 ? DOZStringEncodingTables::shared(charMapData_, reverseCharMap_) : nullptr;
}

void DOZStringEncodingCore::ignoreCharacters(std::string_view characters) {
  for (char c : characters) {
    if (!isAscii(c)) {
      reportFailure("ignoreCharacters:", __LINE__, "Character not ASCII");
      continue;
    }
    auto& entry = reverseCharMap_[static_cast<unsigned char>(c)];
    if (entry == kIgnored) continue;  // saying it twice is no conflict
    if (entry != kNotAllowed) {
      reportFailure("ignoreCharacters:", __LINE__, "Character already mapped");
      continue;  // a symbol stays a symbol: skipping it would corrupt the bytes
    }
    entry = kIgnored;
  }
}

std::string DOZStringEncodingCore::description() const {
  return "<Base" + std::to_string(1 << shift_) + " StringEncoder: " + charMapData_ + ">";
}

void DOZStringEncodingCore::reportFailure(const char* selector, int line, const std::string& description) const {
  const std::string method = std::string("-[") + className_ + " " + selector + "]";
  pf::AssertionHandler::handleFailure(method.c_str(), __FILE__, line, description);
}
