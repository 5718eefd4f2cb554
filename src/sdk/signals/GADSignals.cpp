#include "sdk/signals/GADSignals.h"

#include <limits>
#include <optional>

#include "platform/base/Crypto.h"
#include "platform/base/Log.h"
#include "sdk/signals/GADSignalsCipher.h"
#include "sdk/utility/GADConfiguration.h"

namespace {

GADSignalsState& state() {
  static GADSignalsState s;
  return s;
}

GADSignalsState& startedState() {
  GADSignalsState& s = state();
  if (s.session.empty()) {
    // Should the generator fail, the session is all zero bytes: still no device fact in it.
    s.session = pf::Crypto::randomBytes(GADSignalsRecord::kSessionSize)
                    .value_or(std::string(GADSignalsRecord::kSessionSize, '\0'));
  }
  return s;
}

// The configured key, or none after saying once per session that it is mistyped.
std::optional<std::string> usableKey() {
  auto key = GADConfiguration::signalsKey();
  GADSignalsState& s = state();
  if (!key && !s.reportedBadKey) {
    pf::Log::message("<Diziva> ASHENMOOR_SIGNALS_KEY is not 32 hexadecimal digits; ad signals are not sent");
    s.reportedBadKey = true;
  }
  return key;
}

// A sealed token of what the module knows, or none. The sequence number is taken only when
// a token is made.
std::optional<std::string> token(GADSignalsRecord::Kind kind, std::string_view ai) {
  auto key = usableKey();
  if (!key) return std::nullopt;
  GADSignalsState& s = startedState();
  GADSignalsRecord r;
  r.kind = kind;
  r.session = s.session;
  r.sequence = s.sequence + 1;
  r.requestType = s.requestType;
  r.sdkVersion = s.sdkVersion;
  r.touchCount = s.touchCount;
  r.touchX = s.touchX;
  r.touchY = s.touchY;
  r.touchDuration = s.touchDuration;
  r.ai = std::string(ai);
  auto text = GADSignalsCipher::seal(r, *key);
  if (text) s.sequence = r.sequence;
  return text;
}

}  // namespace

bool gad_gmcs(std::string_view ai, std::string& text) {
  text.clear();
  if (ai.empty() || ai.size() > GADSignalsRecord::kMaxAiSize) return false;
  auto t = token(GADSignalsRecord::Kind::Click, ai);
  if (!t) return false;
  text = std::move(*t);
  return true;
}

bool gad_gmrs(std::string& text) {
  text.clear();
  auto t = token(GADSignalsRecord::Kind::Request, "");
  if (!t) return false;
  text = std::string(kGADSignalsRequestParameterName) + "=" + *t;
  return true;
}

int gad_gig(int requestType, std::string_view sdkVersion) {
  GADSignalsState& s = startedState();
  s.requestType = requestType;
  s.sdkVersion = std::string(sdkVersion.substr(0, GADSignalsRecord::kMaxVersionSize));
  return 0;
}

void gad_htg(int tx, int ty, int td) {
  GADSignalsState& s = startedState();
  if (s.touchCount < std::numeric_limits<uint32_t>::max()) ++s.touchCount;
  s.touchX = tx;
  s.touchY = ty;
  s.touchDuration = td;
}

const GADSignalsState& gad_signals_state() { return state(); }

void gad_signals_reset() { state() = GADSignalsState{}; }
