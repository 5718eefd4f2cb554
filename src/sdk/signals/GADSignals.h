#pragma once
// GADSignals: the ad signals module. The rest of the layer reaches it through four calls,
// all on the main thread:
//
//   gad_gig(type, sdkVersion)   an ad URL was accepted: remembers the request type
//   gad_htg(tx, ty, td)         a page reported a touch: counts it
//   gad_gmrs(text)              fills `text` with one ad URL parameter, "ms=<token>"
//   gad_gmcs(ai, text)          fills `text` with one token for the click URL of click `ai`
//
// A token is a small binary record written in web-safe base64 without padding, so it is
// made of [A-Za-z0-9_-] only: it can stand as a bare query name, and as a value it holds no
// "=" that would cut it short. The record, all integers big-endian:
//
//   byte 0      record version (1)
//   byte 1      'r' for a request signal, 'c' for a click signal
//   byte 2      the last request type given to gad_gig (0 before any), 0 to 255
//   bytes 3-4   touches reported since the module started (stops at 65535)
//   bytes 5-8   the module's session: the wall-clock second it was first used
//   bytes 9-12  click signals only: the first four bytes of the MD5 digest of the raw "ai"
//
// Nothing is enciphered: the ad server can read what we send, and so can anyone reading a
// click URL; the record holds nothing about the user beyond a count of touches.
#include <cstdint>
#include <string>
#include <string_view>

// The parameter name of the request signal.
inline constexpr char kGADSignalsRequestParameterName[] = "ms";

// Fills `text` (expected empty; what is there is replaced) with the click token for the raw
// "ai" value of a click URL. False, leaving `text` empty, when `ai` is empty.
bool gad_gmcs(std::string_view ai, std::string& text);
// Fills `text` with "ms=<token>". Always true.
bool gad_gmrs(std::string& text);
// Remembers the request type of the ad URL just accepted; types outside 0-255 count as 0.
// The version text is accepted and not kept. Answers 0.
int gad_gig(int requestType, std::string_view sdkVersion);
// Counts one touch; the coordinates and duration are not kept.
void gad_htg(int tx, int ty, int td);

// What the module keeps, for tests; gad_signals_reset() forgets it (the next call starts a
// new session).
struct GADSignalsState {
  uint8_t requestType = 0;
  uint16_t touchCount = 0;
  uint32_t session = 0;
  bool started = false;
};
const GADSignalsState& gad_signals_state();
void gad_signals_reset();
