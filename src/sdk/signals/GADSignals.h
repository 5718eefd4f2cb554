#pragma once
// GADSignals: the ad signals module. The rest of the layer reaches it through four calls,
// all on the main thread:
//
//   gad_gig(type, sdkVersion)   an ad URL was accepted: remembers its type and the SDK version
//   gad_htg(tx, ty, td)         a page reported a touch: counts it, keeps where and how long
//   gad_gmrs(text)              fills `text` with one ad URL parameter, "ms=<token>"
//   gad_gmcs(ai, text)          fills `text` with one token for the click URL of click `ai`
//
// A token is a GADSignalsRecord of what the module has been told (a 'r' record for a request,
// a 'c' record carrying the click's "ai" value), sealed by GADSignalsCipher with the
// configured key (GADConfiguration::signalsKey()) and a fresh nonce: only a holder of the key
// can read it, and any change to it is seen. Tokens are web-safe base64 without padding, so
// one stands as a bare query name and, as a value, holds no "=" that would cut it short.
//
// The module's session is 8 random bytes drawn when it is first used in the process — not
// derived from anything about the device — and each token takes the next sequence number.
// When the configured key is mistyped the module sends nothing (the callers leave their URLs
// as they are) and says so in one "<Diziva> " console line.
#include <cstdint>
#include <string>
#include <string_view>

// The parameter name of the request signal.
inline constexpr char kGADSignalsRequestParameterName[] = "ms";

// Fills `text` (what is there is replaced) with the click token for the raw "ai" value of a
// click URL. False, leaving `text` empty, when `ai` is empty or longer than 65535 bytes, or
// when there is no usable key.
bool gad_gmcs(std::string_view ai, std::string& text);
// Fills `text` with "ms=<token>". False, leaving `text` empty, when there is no usable key.
bool gad_gmrs(std::string& text);
// Remembers the request type and the SDK version text of the ad URL just accepted. Answers 0.
int gad_gig(int requestType, std::string_view sdkVersion);
// Counts one touch and keeps its coordinates and press time as the latest.
void gad_htg(int tx, int ty, int td);

// What the module keeps, for tests; gad_signals_reset() forgets it (the next call starts a
// new session, and a mistyped key is reported again).
struct GADSignalsState {
  int32_t requestType = 0;
  std::string sdkVersion;
  uint32_t touchCount = 0;
  int32_t touchX = 0;
  int32_t touchY = 0;
  int32_t touchDuration = 0;
  std::string session;    // empty until the module is first used
  uint32_t sequence = 0;  // of the last token made
  bool reportedBadKey = false;
};
const GADSignalsState& gad_signals_state();
void gad_signals_reset();
