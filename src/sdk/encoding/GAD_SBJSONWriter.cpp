#include "sdk/encoding/GAD_SBJSONWriter.h"

#include <charconv>
#include <cmath>

#include "sdk/encoding/GAD_SBJSON.h"
#include "sdk/encoding/GAD_SBJSONPlainRun.h"

namespace {

// The escape of every byte that ends a plain run: the short forms where JSON has one,
// \u00XX (lower-case hex) for the other control bytes.
struct EscapeTable {
  char text[32 + 1][7];
  unsigned char length[32 + 1];
};

constexpr EscapeTable makeEscapes() {
  EscapeTable t{};
  const char* hex = "0123456789abcdef";
  for (int b = 0; b < 32; ++b) {
    const char u[7] = {'\\', 'u', '0', '0', hex[b >> 4], hex[b & 15], 0};
    for (int i = 0; i < 7; ++i) t.text[b][i] = u[i];
    t.length[b] = 6;
  }
  auto shortForm = [&t](int b, char letter) {
    t.text[b][0] = '\\';
    t.text[b][1] = letter;
    t.length[b] = 2;
  };
  shortForm('\b', 'b');
  shortForm('\t', 't');
  shortForm('\n', 'n');
  shortForm('\f', 'f');
  shortForm('\r', 'r');
  return t;
}
constexpr EscapeTable kEscapes = makeEscapes();

}  // namespace

GAD_SBJSONWriter::GAD_SBJSONWriter(bool humanReadable) : humanReadable_(humanReadable) {
  out_.reserve(128);
}

bool GAD_SBJSONWriter::fail(long code, std::string message) {
  error_ = std::make_shared<const pf::Error>(
      pf::Error::withDescription(GAD_SBJSONErrorDomain, code, std::move(message)));
  return false;
}

bool GAD_SBJSONWriter::write(const pf::Value& value) {
  depth_ = 0;
  return writeValue(value);
}

void GAD_SBJSONWriter::appendString(std::string& out, std::string_view text) {
  out += '"';
  const char* p = text.data();
  const char* end = p + text.size();
  for (;;) {
    const char* stop = GAD_SBJSONPlainRun::find(p, end);
    out.append(p, stop);
    if (stop == end) break;
    const unsigned char b = static_cast<unsigned char>(*stop);
    if (b < 32) {
      out.append(kEscapes.text[b], kEscapes.length[b]);
    } else {  // the quote or the backslash
      const char pair[2] = {'\\', static_cast<char>(b)};
      out.append(pair, 2);
    }
    p = stop + 1;
  }
  out += '"';
}

bool GAD_SBJSONWriter::writeValue(const pf::Value& value) {
  switch (value.kind()) {
    case pf::Value::Kind::Dictionary: return writeObject(*value.asDictionary());
    case pf::Value::Kind::Array: return writeArray(*value.asArray());
    case pf::Value::Kind::String: appendString(out_, value.stringRef()); return true;
    case pf::Value::Kind::Boolean: out_ += *value.asBoolean() ? "true" : "false"; return true;
    case pf::Value::Kind::Integer: {
      char buf[24];
      auto r = std::to_chars(buf, buf + sizeof buf, *value.asInteger());
      out_.append(buf, r.ptr);
      return true;
    }
    case pf::Value::Kind::Real: return writeReal(*value.asReal());
    case pf::Value::Kind::Decimal: out_ += value.decimalText(); return true;
    case pf::Value::Kind::Null: out_ += "null"; return true;
    case pf::Value::Kind::Date:
    case pf::Value::Kind::Data:
      // Neither has a JSON form; writing its description would send text that no reader
      // can turn back into a date or bytes.
      return fail(GAD_SBJSONErrorUnsupported,
                  std::string("JSON serialisation not supported for ") + pf::kindName(value.kind()));
  }
  return fail(GAD_SBJSONErrorUnsupported, "JSON serialisation not supported for value");
}

// The shortest text that reads back as the same double. NaN and the infinities have no JSON
// form: writing "nan" would hand the page text that no JSON reader accepts.
bool GAD_SBJSONWriter::writeReal(double d) {
  if (!std::isfinite(d)) {
    return fail(GAD_SBJSONErrorUnsupported,
                std::string("JSON serialisation not supported for ") +
                    (std::isnan(d) ? "nan" : d > 0 ? "inf" : "-inf"));
  }
  char buf[32];
  auto r = std::to_chars(buf, buf + sizeof buf, d);
  out_.append(buf, r.ptr);
  return true;
}

void GAD_SBJSONWriter::writeIndentation() {
  out_ += '\n';
  out_.append(2 * static_cast<size_t>(depth_), ' ');
}

bool GAD_SBJSONWriter::writeObject(const pf::Value::Dictionary& members) {
  out_ += '{';
  ++depth_;
  bool first = true;
  for (const auto& [key, value] : members) {
    if (!first) out_ += ',';
    first = false;
    if (humanReadable_) writeIndentation();
    appendString(out_, key);
    if (humanReadable_) out_ += " : ";
    else out_ += ':';
    if (!writeValue(value))  // the inner reason is replaced by the member's
      return fail(GAD_SBJSONErrorUnsupported, "Unsupported value for key " + key + " in object");
  }
  --depth_;
  if (humanReadable_ && !members.empty()) writeIndentation();
  out_ += '}';
  return true;
}

bool GAD_SBJSONWriter::writeArray(const pf::Value::Array& items) {
  out_ += '[';
  ++depth_;
  bool first = true;
  for (const auto& item : items) {
    if (!first) out_ += ',';
    first = false;
    if (humanReadable_) writeIndentation();
    if (!writeValue(item)) return false;  // the element's own error goes up unchanged
  }
  --depth_;
  if (humanReadable_ && !items.empty()) writeIndentation();
  out_ += ']';
  return true;
}
