// Base-N decoding of outside text. The first byte picks the encoding (the seven predefined
// ones, or a custom alphabet taken from the input) and its options; the rest is the text.
// Checked: decode() agrees with the bit loop, whatever decodes re-encodes to a text that
// decodes to the same bytes, and the rest read as bytes round-trips.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>

#include "platform/base/AssertionHandler.h"
#include "sdk/encoding/GAD_DOZStringEncoding.h"

namespace {

std::optional<GAD_DOZStringEncoding> pick(uint8_t selector, std::string_view& rest) {
  switch (selector & 7) {
    case 0: return GAD_DOZStringEncoding::binaryStringEncoding();
    case 1: return GAD_DOZStringEncoding::hexStringEncoding();
    case 2: return GAD_DOZStringEncoding::rfc4648Base32StringEncoding();
    case 3: return GAD_DOZStringEncoding::rfc4648Base32HexStringEncoding();
    case 4: return GAD_DOZStringEncoding::crockfordBase32StringEncoding();
    case 5: return GAD_DOZStringEncoding::rfc4648Base64StringEncoding();
    case 6: return GAD_DOZStringEncoding::rfc4648Base64WebsafeStringEncoding();
    default: {
      // A custom alphabet: a size byte, then that many alphabet bytes (often refused).
      if (rest.empty()) return std::nullopt;
      const size_t size = size_t{1} << (static_cast<uint8_t>(rest[0]) % 7 + 1);
      if (rest.size() < 1 + size) return std::nullopt;
      auto encoding = GAD_DOZStringEncoding::create(rest.substr(1, size));
      rest.remove_prefix(1 + size);
      return encoding;
    }
  }
}

void check(bool ok) {
  if (!ok) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  // A failed internal check is a bug here, not something to log and carry on from.
  pf::AssertionHandler::setHandler([](const char*, const char*, int, const std::string&) { std::abort(); });
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  std::string_view rest(reinterpret_cast<const char*>(data) + 1, size - 1);
  const uint8_t selector = data[0];
  auto encoding = pick(selector, rest);
  if (!encoding) return 0;
  if (selector & 0x10) encoding->setDoPad(false);
  if ((selector & 0x20) && (selector & 7) != 7) encoding->ignoreCharacters(" \r\n\t");

  const auto bytes = encoding->decode(rest);
  check(bytes == encoding->decodeWithBitLoop(rest));
  if (bytes) {
    const std::string again = encoding->encode(*bytes);
    check(encoding->decode(again) == bytes);
  }

  const std::string text = encoding->encode(rest);
  check(text == encoding->encodeWithBitLoop(rest));
  check(encoding->decode(text) == std::string(rest));
  return 0;
}
