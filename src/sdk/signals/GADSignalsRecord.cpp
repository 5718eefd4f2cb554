#include "sdk/signals/GADSignalsRecord.h"

#include "platform/base/Crypto.h"

namespace {

void putUInt(std::string& out, uint32_t v, int bytes) {
  for (int shift = 8 * (bytes - 1); shift >= 0; shift -= 8) out.push_back(static_cast<char>((v >> shift) & 0xff));
}

// Reads big-endian integers and counted texts off the front of the bytes; once a read
// runs past the end, every later one fails too.
class Reader {
 public:
  explicit Reader(std::string_view bytes) : rest_(bytes) {}

  std::optional<uint32_t> uint(size_t bytes) {
    if (rest_.size() < bytes) return std::nullopt;
    uint32_t v = 0;
    for (size_t i = 0; i < bytes; ++i) v = v << 8 | static_cast<unsigned char>(rest_[i]);
    rest_.remove_prefix(bytes);
    return v;
  }
  std::optional<std::string> text(size_t bytes) {
    if (rest_.size() < bytes) return std::nullopt;
    std::string out(rest_.substr(0, bytes));
    rest_.remove_prefix(bytes);
    return out;
  }
  bool atEnd() const { return rest_.empty(); }

 private:
  std::string_view rest_;
};

// Printable ASCII as it is; any other byte as \xNN, so a line stays one line.
std::string printable(std::string_view text) {
  static const char* digits = "0123456789abcdef";
  std::string out;
  for (unsigned char c : text) {
    if (c >= 0x20 && c < 0x7f && c != '\\') {
      out.push_back(static_cast<char>(c));
    } else {
      out += "\\x";
      out.push_back(digits[c >> 4]);
      out.push_back(digits[c & 15]);
    }
  }
  return out;
}

}  // namespace

std::optional<std::string> GADSignalsRecord::bytes() const {
  if (session.size() != kSessionSize) return std::nullopt;
  if (kind == Kind::Request ? !ai.empty() : ai.size() > kMaxAiSize) return std::nullopt;
  std::string out;
  out.push_back(static_cast<char>(kind));
  out += session;
  putUInt(out, sequence, 4);
  putUInt(out, static_cast<uint32_t>(requestType), 4);
  std::string_view version = std::string_view(sdkVersion).substr(0, kMaxVersionSize);
  out.push_back(static_cast<char>(version.size()));
  out += version;
  putUInt(out, touchCount, 4);
  for (int32_t v : {touchX, touchY, touchDuration}) putUInt(out, static_cast<uint32_t>(v), 4);
  if (kind == Kind::Click) {
    putUInt(out, static_cast<uint32_t>(ai.size()), 2);
    out += ai;
  }
  return out;
}

std::optional<GADSignalsRecord> GADSignalsRecord::fromBytes(std::string_view bytes) {
  Reader in(bytes);
  GADSignalsRecord r;
  auto kind = in.uint(1);
  if (!kind || (*kind != static_cast<uint32_t>(Kind::Request) && *kind != static_cast<uint32_t>(Kind::Click))) {
    return std::nullopt;
  }
  r.kind = static_cast<Kind>(*kind);
  auto session = in.text(kSessionSize);
  auto sequence = in.uint(4);
  auto type = in.uint(4);
  auto versionSize = in.uint(1);
  auto version = in.text(versionSize.value_or(0));
  auto touches = in.uint(4), x = in.uint(4), y = in.uint(4), td = in.uint(4);
  if (!session || !sequence || !type || !versionSize || !version || !touches || !x || !y || !td) return std::nullopt;
  r.session = *session;
  r.sequence = *sequence;
  r.requestType = static_cast<int32_t>(*type);
  r.sdkVersion = *version;
  r.touchCount = *touches;
  r.touchX = static_cast<int32_t>(*x);
  r.touchY = static_cast<int32_t>(*y);
  r.touchDuration = static_cast<int32_t>(*td);
  if (r.kind == Kind::Click) {
    auto aiSize = in.uint(2);
    auto ai = in.text(aiSize.value_or(0));
    if (!aiSize || !ai) return std::nullopt;
    r.ai = *ai;
  }
  if (!in.atEnd()) return std::nullopt;
  return r;
}

std::string GADSignalsRecord::description() const {
  std::string out;
  out += std::string("kind: ") + (kind == Kind::Click ? "click" : "request") + "\n";
  out += "session: " + pf::Crypto::hex(session) + "\n";
  out += "sequence: " + std::to_string(sequence) + "\n";
  out += "request type: " + std::to_string(requestType) + "\n";
  out += "sdk version: " + printable(sdkVersion) + "\n";
  out += "touches: " + std::to_string(touchCount) + "\n";
  out += "last touch: tx " + std::to_string(touchX) + ", ty " + std::to_string(touchY) + ", td " +
         std::to_string(touchDuration) + "\n";
  if (kind == Kind::Click) out += "ai: " + printable(ai) + "\n";
  return out;
}
