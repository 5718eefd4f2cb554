#pragma once
// GADSignalsRecord: what one ad signal tells the ad server, and its bytes before they are
// sealed (GADSignalsCipher). Integers are big-endian; nothing in it is about the user beyond
// counts and the last touch on a banner.
//
//   byte 0        kind: 'r' a request signal (the ad URL's "ms"), 'c' a click signal
//   bytes 1-8     session: 8 random bytes drawn once per process
//   bytes 9-12    sequence: 1 for the session's first text, one more for each after it
//   bytes 13-16   the request type last given to gad_gig (signed; 0 before any)
//   byte 17       n: length of the SDK version text last given to gad_gig (0 before any)
//   n bytes       that text (a longer one is cut at 255 bytes)
//   4 bytes       touches reported to gad_htg (stops at 2^32 - 1)
//   3 × 4 bytes   the last touch as given: tx, ty, td (signed; 0 before any)
//   click only:
//   2 bytes       m: length of the click's "ai" value
//   m bytes       the "ai" value as it stood in the click URL (not decoded)
//
// A request record ends after td, a click record after the "ai" value: a record with bytes
// left over is not read.
//
//   GADSignalsRecord r;
//   r.kind = GADSignalsRecord::Kind::Click;
//   r.ai = "SBX7q2";
//   std::string bytes = r.bytes();
//   std::optional<GADSignalsRecord> back = GADSignalsRecord::fromBytes(bytes);  // == r
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

struct GADSignalsRecord {
  enum class Kind : char { Request = 'r', Click = 'c' };
  static constexpr size_t kSessionSize = 8;
  static constexpr size_t kMaxVersionSize = 255;
  static constexpr size_t kMaxAiSize = 65535;

  Kind kind = Kind::Request;
  std::string session = std::string(kSessionSize, '\0');  // kSessionSize bytes
  uint32_t sequence = 0;
  int32_t requestType = 0;
  std::string sdkVersion;
  uint32_t touchCount = 0;
  int32_t touchX = 0;
  int32_t touchY = 0;
  int32_t touchDuration = 0;
  std::string ai;  // click records only

  // The layout above. None when a field does not fit it: a session that is not 8 bytes, an
  // "ai" value longer than 65535 bytes or given to a request record. A version text over
  // 255 bytes is cut.
  std::optional<std::string> bytes() const;
  // None unless `bytes` is exactly one record.
  static std::optional<GADSignalsRecord> fromBytes(std::string_view bytes);

  // One "name: value" line per field, for people (gadutil signals decode); bytes of the
  // texts that are not printable ASCII, and the backslash, are shown as \xNN.
  std::string description() const;

  bool operator==(const GADSignalsRecord&) const = default;
};
