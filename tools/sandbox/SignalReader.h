#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The application's ad signals as the ad server reads them: the "ms" value of an ad request
// and the bare token at the end of a click ping. Written here from the wire format, apart
// from the application's code, as any ad server would:
//
//   text    web-safe base64 ([A-Za-z0-9_-]), no padding, unused low bits zero
//   bytes   format (1) · key mark (4: first bytes of SHA-256 of the key) · nonce (12) ·
//           record enciphered with AES-128-GCM · tag (16, over the record and the first 5 bytes)
//   record  kind 'r'/'c' · session (8) · sequence (u32) · request type (i32) · version length
//           (u8) and text · touches (u32) · tx, ty, td (i32) · click only: "ai" length (u16)
//           and the raw "ai" value; big-endian, nothing left over
//
//   SignalReader reader(*SignalReader::keyFromHex(SignalReader::kDefaultKeyHex));
//   auto r = reader.readRequestSignal(ms);
//   if (r.record) … else std::puts(SignalReader::describe(r.fault));
struct SignalRecord {
  char kind = 'r';  // 'r' request, 'c' click
  std::string session;  // 8 bytes
  uint32_t sequence = 0;
  int32_t requestType = 0;
  std::string sdkVersion;
  uint32_t touches = 0;
  int32_t tx = 0, ty = 0, td = 0;
  std::string ai;  // click records only

  // One line for the dashboard: "request #3 · session 0a1b… · type 0 · vize-… · 2 touches, last …".
  std::string summary() const;
  // A JSON object of the fields.
  std::string json() const;
};

class SignalReader {
 public:
  // The application's compiled default: the ASCII bytes of "AshenmoorSignals".
  static constexpr const char* kDefaultKeyHex = "417368656e6d6f6f725369676e616c73";

  enum class Fault {
    None,
    NotBase64,      // a character outside the alphabet, or low bits that are not zero
    TooShort,       // shorter than format, key mark, nonce and tag
    UnknownFormat,  // first byte not 1
    WrongKey,       // the key mark is another key's
    Tampered,       // the GCM tag does not match: changed, cut or forged
    NotARecord,     // genuine bytes that are not one record
    WrongKind,      // a click record on an ad request, or a request record on a click
    OtherClick,     // a click record whose "ai" is not the ping's
  };
  struct Reading {
    std::optional<SignalRecord> record;  // set only when fault is None
    Fault fault = Fault::None;
  };

  // 32 hexadecimal digits (either case) as 16 bytes; none for anything else.
  static std::optional<std::string> keyFromHex(std::string_view hex);
  static const char* describe(Fault fault);

  // `key`: 16 bytes. Any other size reads every text as sealed under another key.
  explicit SignalReader(std::string key);

  Reading read(std::string_view text) const;
  // read(), and the record must be a request signal.
  Reading readRequestSignal(std::string_view text) const;
  // read(), and the record must be a click signal for one of the ping's raw "ai" values.
  Reading readClickSignal(std::string_view text, const std::vector<std::string>& rawAis) const;

 private:
  std::string key_;
  std::string keyMark_;
};
