#include "sdk/utility/GADAdTrace.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "platform/base/Clock.h"
#include "platform/base/Log.h"

GADAdTrace::Mode GADAdTrace::mode_ = GADAdTrace::Mode::Unknown;

namespace {

struct Output {
  std::FILE* file = nullptr;  // stderr or the trace file (kept open for the process)
  GADAdTrace::Sink sink;
  double start = 0;
};
Output& output() {
  static Output out;
  return out;
}

void appendString(std::string& out, std::string_view text) {
  out.push_back('"');
  for (unsigned char ch : text) {
    switch (ch) {
      case '"': out += "\\\""; break;
      case '\\': out += "\\\\"; break;
      case '\n': out += "\\n"; break;
      case '\r': out += "\\r"; break;
      case '\t': out += "\\t"; break;
      default:
        if (ch < 0x20) {
          char buf[8];
          std::snprintf(buf, sizeof buf, "\\u%04x", ch);
          out += buf;
        } else {
          out.push_back(static_cast<char>(ch));
        }
    }
  }
  out.push_back('"');
}

void appendNumber(std::string& out, double d) {
  if (!std::isfinite(d)) {
    out += "null";
    return;
  }
  char buf[32];
  auto result = std::to_chars(buf, buf + sizeof buf, d);
  out.append(buf, result.ptr);
}

void appendValue(std::string& out, const pf::Value& v) {
  switch (v.kind()) {
    case pf::Value::Kind::Null: out += "null"; break;
    case pf::Value::Kind::Boolean: out += v.booleanPayload() ? "true" : "false"; break;
    case pf::Value::Kind::Integer: out += std::to_string(v.integerPayload()); break;
    case pf::Value::Kind::Real: appendNumber(out, v.realPayload()); break;
    case pf::Value::Kind::String: appendString(out, v.stringRef()); break;
    default: appendString(out, v.description()); break;
  }
}

}  // namespace

void GADAdTrace::configure() {
  mode_ = Mode::Off;
  const char* target = std::getenv("ASHENMOOR_AD_TRACE");
  if (!target || !*target) return;
  Output& out = output();
  if (std::string(target) == "-") {
    out.file = stderr;
  } else {
    out.file = std::fopen(target, "a");
    if (!out.file) {
      pf::Log::message(std::string("<Diziva> The ad trace file cannot be opened: ") + target);
      return;
    }
  }
  out.start = pf::Clock::monotonic();
  mode_ = Mode::On;
}

std::string GADAdTrace::formatLine(double t, int banner, const char* event, std::initializer_list<Field> fields) {
  std::string line;
  line.reserve(96);
  line += "{\"t\":";
  // Milliseconds are enough to read a trace; rounding keeps lines short.
  appendNumber(line, std::round(t * 1000.0) / 1000.0);
  line += ",\"banner\":";
  line += std::to_string(banner);
  line += ",\"event\":";
  appendString(line, event);
  for (const auto& [name, value] : fields) {
    line.push_back(',');
    appendString(line, name);
    line.push_back(':');
    appendValue(line, value);
  }
  line.push_back('}');
  return line;
}

void GADAdTrace::write(int banner, const char* event, std::initializer_list<Field> fields) {
  if (!enabled()) return;
  Output& out = output();
  std::string line = formatLine(pf::Clock::monotonic() - out.start, banner, event, fields);
  if (out.sink) {
    out.sink(line);
    return;
  }
  line.push_back('\n');
  std::fwrite(line.data(), 1, line.size(), out.file);  // one write per line: lines never mix
  std::fflush(out.file);
}

int GADAdTrace::nextBannerNumber() {
  static int last = 0;
  return ++last;
}

void GADAdTrace::setSinkForTesting(Sink sink) {
  Output& out = output();
  out.sink = std::move(sink);
  out.start = pf::Clock::monotonic();
  mode_ = out.sink ? Mode::On : Mode::Unknown;
}
