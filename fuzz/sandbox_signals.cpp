// The two readers of the application's signals against each other: the sandbox's own
// (tools/sandbox/SignalReader, what an ad server does) and the ad layer's (GADSignalsCipher,
// what gadutil uses). They share no code, so on every input they must agree.
//
// The first byte chooses what the rest is:
//   even   a text as it would arrive in a URL: both readers must give the same verdict, and
//          the same record when they read one (only a text sealed under the key can be one)
//   odd    the bytes of a record: sealed under the sandbox's key with a fixed nonce, they
//          must be read as a record by both readers exactly when the ad layer's layout
//          takes them, with the same fields, and written back to the very same bytes
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "SignalReader.h"
#include "sdk/signals/GADSignalsCipher.h"

namespace {

void check(bool ok, const char* what) {
  if (!ok) {
    std::fprintf(stderr, "sandbox_signals: %s\n", what);
    std::abort();
  }
}

SignalReader::Fault sameFault(GADSignalsCipher::Failure f) {
  switch (f) {
    case GADSignalsCipher::Failure::None: return SignalReader::Fault::None;
    case GADSignalsCipher::Failure::NotBase64: return SignalReader::Fault::NotBase64;
    case GADSignalsCipher::Failure::TooShort: return SignalReader::Fault::TooShort;
    case GADSignalsCipher::Failure::UnknownFormat: return SignalReader::Fault::UnknownFormat;
    case GADSignalsCipher::Failure::WrongKey: return SignalReader::Fault::WrongKey;
    case GADSignalsCipher::Failure::Tampered: return SignalReader::Fault::Tampered;
    case GADSignalsCipher::Failure::NotARecord: return SignalReader::Fault::NotARecord;
  }
  return SignalReader::Fault::OtherClick;  // no failure of the ad layer's reader is that
}

void checkSameRecord(const SignalRecord& s, const GADSignalsRecord& g) {
  check(s.kind == static_cast<char>(g.kind), "kind");
  check(s.session == g.session && s.sequence == g.sequence, "session and sequence");
  check(s.requestType == g.requestType && s.sdkVersion == g.sdkVersion, "request type and version");
  check(s.touches == g.touchCount && s.tx == g.touchX && s.ty == g.touchY && s.td == g.touchDuration, "touches");
  check(s.ai == g.ai, "ai");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  static const std::string key = *SignalReader::keyFromHex(SignalReader::kDefaultKeyHex);
  static const SignalReader sandbox(key);
  std::string_view rest(reinterpret_cast<const char*>(data) + 1, size - 1);

  std::string text;
  if (data[0] % 2 == 0) {
    text = std::string(rest);
  } else {
    auto sealed = GADSignalsCipher::sealWithNonce(rest, key, std::string(GADSignalsCipher::kNonceSize, '\x5a'));
    check(sealed.has_value(), "any bytes can be sealed");
    text = *sealed;
  }

  SignalReader::Reading s = sandbox.read(text);
  GADSignalsCipher::Opened g = GADSignalsCipher::open(text, key);
  check(s.fault == sameFault(g.failure), "the readers disagree on the verdict");
  check(s.record.has_value() == g.record.has_value(), "a record from one reader only");
  if (g.record) {
    checkSameRecord(*s.record, *g.record);
    if (data[0] % 2 == 1) check(g.record->bytes() == std::string(rest), "a record read is written back as it was");
  } else if (data[0] % 2 == 1) {
    check(!GADSignalsRecord::fromBytes(rest), "sealed record bytes must open");
  }
  return 0;
}
