#include "sdk/signals/GADSignals.h"

#include <limits>

#include "platform/base/Clock.h"
#include "platform/base/Crypto.h"
#include "sdk/encoding/GAD_DOZStringEncoding.h"

namespace {

constexpr uint8_t kRecordVersion = 1;

GADSignalsState& state() {
  static GADSignalsState s;
  return s;
}

GADSignalsState& startedState() {
  GADSignalsState& s = state();
  if (!s.started) {
    double now = pf::Clock::now();
    // The wall clock can sit before 2001 on a badly set device; such a session is 0.
    s.session = now > 0 && now < 4294967296.0 ? static_cast<uint32_t>(now) : 0;
    s.started = true;
  }
  return s;
}

void putUInt16(std::string& out, uint16_t v) {
  out.push_back(static_cast<char>(v >> 8));
  out.push_back(static_cast<char>(v & 0xff));
}

void putUInt32(std::string& out, uint32_t v) {
  putUInt16(out, static_cast<uint16_t>(v >> 16));
  putUInt16(out, static_cast<uint16_t>(v & 0xffff));
}

std::string record(char kind) {
  const GADSignalsState& s = startedState();
  std::string out;
  out.push_back(static_cast<char>(kRecordVersion));
  out.push_back(kind);
  out.push_back(static_cast<char>(s.requestType));
  putUInt16(out, s.touchCount);
  putUInt32(out, s.session);
  return out;
}

std::string token(const std::string& bytes) {
  // Made once: building an encoding's tables costs more than a token.
  static const auto encoding = [] {
    auto e = GAD_DOZStringEncoding::rfc4648Base64WebsafeStringEncoding();
    e.setDoPad(false);  // "=" would end a query name or cut a value short
    return e;
  }();
  return encoding.encode(bytes);
}

}  // namespace

bool gad_gmcs(std::string_view ai, std::string& text) {
  text.clear();
  if (ai.empty()) return false;
  std::string bytes = record('c');
  bytes += pf::Crypto::md5(ai).substr(0, 4);
  text = token(bytes);
  return true;
}

bool gad_gmrs(std::string& text) {
  text = std::string(kGADSignalsRequestParameterName) + "=" + token(record('r'));
  return true;
}

int gad_gig(int requestType, std::string_view /*sdkVersion*/) {
  GADSignalsState& s = startedState();
  s.requestType = requestType >= 0 && requestType <= 255 ? static_cast<uint8_t>(requestType) : 0;
  return 0;
}

void gad_htg(int /*tx*/, int /*ty*/, int /*td*/) {
  GADSignalsState& s = startedState();
  if (s.touchCount < std::numeric_limits<uint16_t>::max()) ++s.touchCount;
}

const GADSignalsState& gad_signals_state() { return state(); }

void gad_signals_reset() { state() = GADSignalsState{}; }
