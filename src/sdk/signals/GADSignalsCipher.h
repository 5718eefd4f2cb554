#pragma once
// GADSignalsCipher: seals a signal record (GADSignalsRecord) into a text for a URL, and opens
// one back, with a 16-byte key shared with the ad server (GADConfiguration::signalsKey()).
//
// The text is web-safe base64 without padding, so it is made of [A-Za-z0-9_-] only: it can
// stand as a bare query name, and as a value it holds no "=", "&" or ";" that the URL
// utilities would cut it at. Its bytes:
//
//   byte 0        format: 1
//   bytes 1-4     key mark: the first 4 bytes of the SHA-256 digest of the key, so a reader
//                 can tell a text sealed under another key from a damaged one
//   bytes 5-16    nonce: 12 fresh random bytes for every text
//   …             the record, enciphered with AES-128-GCM under the key and the nonce
//   last 16       the GCM tag, over the record and bytes 0-4
//
// A changed byte anywhere, a cut text or another key fails the tag: nothing of such a text
// is read.
//
//   auto text = GADSignalsCipher::seal(record, key);              // "AWo2…", or none
//   auto opened = GADSignalsCipher::open(*text, key);
//   if (opened.record) … else puts(GADSignalsCipher::describe(opened.failure));
#include <optional>
#include <string>
#include <string_view>

#include "sdk/signals/GADSignalsRecord.h"

class GADSignalsCipher {
 public:
  GADSignalsCipher() = delete;

  static constexpr unsigned char kFormat = 1;
  static constexpr size_t kKeyMarkSize = 4;
  static constexpr size_t kHeaderSize = 1 + kKeyMarkSize;
  static constexpr size_t kNonceSize = 12;
  static constexpr size_t kTagSize = 16;

  enum class Failure {
    None,
    NotBase64,      // a character outside the web-safe alphabet, or bits that make no bytes
    TooShort,       // fewer bytes than the header, nonce and tag
    UnknownFormat,  // a first byte other than kFormat
    WrongKey,       // the key mark is another key's
    Tampered,       // the tag does not match: a byte changed or the text was cut
    NotARecord,     // genuine, but the bytes are not one record
  };
  struct Opened {
    std::optional<GADSignalsRecord> record;
    Failure failure = Failure::None;
  };

  // The text of `record` with a fresh nonce; none when the key is not 16 bytes, the record
  // does not fit its layout, or no random nonce could be had.
  static std::optional<std::string> seal(const GADSignalsRecord& record, std::string_view key);
  // The same with a given 12-byte nonce (tests, fuzzing): never use a nonce twice with a key.
  static std::optional<std::string> sealWithNonce(std::string_view recordBytes, std::string_view key,
                                                  std::string_view nonce);
  static Opened open(std::string_view text, std::string_view key);

  // The 4-byte key mark of a key.
  static std::string keyMark(std::string_view key);
  // The reason, in a few words ("wrong key", "tampered: …").
  static const char* describe(Failure failure);
};
