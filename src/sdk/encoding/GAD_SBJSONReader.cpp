#include "sdk/encoding/GAD_SBJSONReader.h"

#include <cstdio>
#include <algorithm>
#include <cstring>
#include <iterator>

#include "sdk/encoding/GAD_SBJSON.h"
#include "sdk/encoding/GAD_SBJSONDecimal.h"
#include "sdk/encoding/GAD_SBJSONPlainRun.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {

// Space, tab, line feed, vertical tab, form feed, carriage return: the C library's idea of
// whitespace, which the ad layer has always accepted between tokens.
constexpr bool isWhitespace(unsigned char b) { return b == ' ' || (b >= '\t' && b <= '\r'); }
constexpr bool isDigit(char ch) { return ch >= '0' && ch <= '9'; }

std::string withByte(const char* format, unsigned byte) {
  char buf[64];
  std::snprintf(buf, sizeof buf, format, byte);
  return buf;
}

void appendUTF8(std::string& out, unsigned cp) {
  if (cp < 0x80) {
    out += static_cast<char>(cp);
  } else if (cp < 0x800) {
    const char b[2] = {static_cast<char>(0xC0 | (cp >> 6)), static_cast<char>(0x80 | (cp & 0x3F))};
    out.append(b, 2);
  } else if (cp < 0x10000) {
    const char b[3] = {static_cast<char>(0xE0 | (cp >> 12)),
                       static_cast<char>(0x80 | ((cp >> 6) & 0x3F)),
                       static_cast<char>(0x80 | (cp & 0x3F))};
    out.append(b, 3);
  } else {
    const char b[4] = {static_cast<char>(0xF0 | (cp >> 18)),
                       static_cast<char>(0x80 | ((cp >> 12) & 0x3F)),
                       static_cast<char>(0x80 | ((cp >> 6) & 0x3F)),
                       static_cast<char>(0x80 | (cp & 0x3F))};
    out.append(b, 4);
  }
}

}  // namespace

namespace {
// What a finished reading leaves for the next one on its thread.
struct Scratch {
  std::string text;
  uint32_t arrayHints[2 * 16] = {};
  uint32_t objectHints[2 * 16] = {};
};
thread_local Scratch tScratch;
constexpr size_t kKeptText = 64 * 1024;  // a larger escape buffer goes back to the heap
constexpr uint32_t kMaxHint = 4096;      // beyond this a container grows as it reads
constexpr size_t kFirstRoom = 4;          // for a container at a depth seen for the first time
}  // namespace

GAD_SBJSONReader::GAD_SBJSONReader(std::string_view text, unsigned maxDepth)
    : c_(text.data()), end_(text.data() + text.size()), maxDepth_(maxDepth),
      text_(std::move(tScratch.text)) {  // a reader made meanwhile starts empty
  static_assert(sizeof tScratch.arrayHints == sizeof arrayHints_);
  std::memcpy(arrayHints_, tScratch.arrayHints, sizeof arrayHints_);
  std::memcpy(objectHints_, tScratch.objectHints, sizeof objectHints_);
}

GAD_SBJSONReader::~GAD_SBJSONReader() {
  if (text_.capacity() <= kKeptText && text_.capacity() > tScratch.text.capacity())
    tScratch.text = std::move(text_);
  std::memcpy(tScratch.arrayHints, arrayHints_, sizeof arrayHints_);
  std::memcpy(tScratch.objectHints, objectHints_, sizeof objectHints_);
}

// Each depth remembers the sizes of its last two containers of a kind and guesses the larger,
// so that objects of two shapes taking turns at one depth are both read without regrowth.
size_t GAD_SBJSONReader::hint(const uint32_t* hints) const {
  if (depth_ > kHintedDepths) return kFirstRoom;
  const uint32_t* last = hints + 2 * (depth_ - 1);
  const size_t h = std::max(last[0], last[1]);
  return h ? h : kFirstRoom;
}

void GAD_SBJSONReader::remember(uint32_t* hints, size_t size) const {
  if (depth_ > kHintedDepths) return;
  uint32_t* last = hints + 2 * (depth_ - 1);
  last[1] = last[0];
  last[0] = static_cast<uint32_t>(std::min<size_t>(std::max<size_t>(size, 1), kMaxHint));
}

// A guess much larger than the container would leave the room unused for the value's life.
template <typename Storage>
void GAD_SBJSONReader::trim(Storage& storage) const {
  if (storage.capacity() - storage.size() > storage.size() / 4 + 2) storage.shrink_to_fit();
}

bool GAD_SBJSONReader::isValidUTF8(std::string_view text) {
  const auto* p = reinterpret_cast<const unsigned char*>(text.data());
  const auto* end = p + text.size();
  while (p < end) {
#if defined(__SSE2__)
    while (end - p >= 16 &&
           _mm_movemask_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i*>(p))) == 0)
      p += 16;  // plain ASCII, the usual case
    if (p == end) break;
#endif
    unsigned char b = *p;
    if (b < 0x80) {
      ++p;
      continue;
    }
    size_t len;
    unsigned cp, min;
    if ((b & 0xE0) == 0xC0) len = 2, cp = b & 0x1F, min = 0x80;
    else if ((b & 0xF0) == 0xE0) len = 3, cp = b & 0x0F, min = 0x800;
    else if ((b & 0xF8) == 0xF0) len = 4, cp = b & 0x07, min = 0x10000;
    else return false;
    if (static_cast<size_t>(end - p) < len) return false;
    for (size_t i = 1; i < len; ++i) {
      if ((p[i] & 0xC0) != 0x80) return false;
      cp = (cp << 6) | (p[i] & 0x3F);
    }
    if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return false;
    p += len;
  }
  return true;
}

bool GAD_SBJSONReader::fail(long code, std::string message,
                            std::shared_ptr<const pf::Error> underlying) {
  error_ = std::make_shared<const pf::Error>(pf::Error::withDescription(
      GAD_SBJSONErrorDomain, code, std::move(message), std::move(underlying)));
  return false;
}

void GAD_SBJSONReader::skipWhitespace() {
  while (c_ != end_ && isWhitespace(static_cast<unsigned char>(*c_))) ++c_;
}

std::optional<pf::Value> GAD_SBJSONReader::read(bool allowScalar) {
  depth_ = 0;
  pf::Value value;
  if (!readValue(value)) return std::nullopt;
  skipWhitespace();
  if (!atEnd()) {
    fail(GAD_SBJSONErrorGarbage, "Garbage after JSON");
    return std::nullopt;
  }
  if (!allowScalar && !value.isArray() && !value.isDictionary()) {
    fail(GAD_SBJSONErrorFragment, "Valid fragment, but not JSON");
    return std::nullopt;
  }
  return value;
}

bool GAD_SBJSONReader::readValue(pf::Value& out) {
  skipWhitespace();
  if (atEnd()) return fail(GAD_SBJSONErrorEndOfInput, "Unexpected end of string");
  switch (*c_++) {
    case '[': return readArray(out);
    case '{': return readObject(out);
    case '"': return readStringValue(out);
    case '-': case '0': case '1': case '2': case '3': case '4':
    case '5': case '6': case '7': case '8': case '9':
      --c_;
      return readNumber(out);
    case 'n':
      out = pf::Value();
      return readLiteral("ull", 3, "Expected 'null'");
    case 't':
      out = pf::Value(true);
      return readLiteral("rue", 3, "Expected 'true'");
    case 'f':
      out = pf::Value(false);
      return readLiteral("alse", 4, "Expected 'false'");
    case '+': return fail(GAD_SBJSONErrorNumber, "Leading + disallowed in number");
    default: return fail(GAD_SBJSONErrorParse, "Unrecognised leading character");
  }
}

// Apart from readValue so that a string's handling is not in the frame of every nesting level.
// The text is gathered in a buffer kept from string to string, then copied once into a
// string of its exact size.
bool GAD_SBJSONReader::readStringValue(pf::Value& out) {
  const char* run = c_;
  const char* stop = GAD_SBJSONPlainRun::find(c_, end_);
  if (stop != end_ && *stop == '"') {  // no escapes: the usual case
    out = pf::Value(std::string_view(run, static_cast<size_t>(stop - run)));
    c_ = stop + 1;
    return true;
  }
  text_.assign(run, stop);  // the run already scanned; readString goes on from its end
  c_ = stop;
  if (!readString(text_)) return false;
  out = pf::Value(std::string_view(text_));
  return true;
}

// Only the literal's own bytes are examined: "nullx" fails later, as garbage or as a value
// with no comma before it.
bool GAD_SBJSONReader::readLiteral(const char* rest, size_t length, const char* message) {
  if (static_cast<size_t>(end_ - c_) < length || std::memcmp(c_, rest, length) != 0)
    return fail(GAD_SBJSONErrorParse, message);
  c_ += length;
  return true;
}

bool GAD_SBJSONReader::enterContainer() {
  ++depth_;
  if ((maxDepth_ != 0 && depth_ > maxDepth_) || depth_ > GAD_SBJSON::kDepthCeiling)
    return fail(GAD_SBJSONErrorDepth, "Nested too deep");
  return true;
}

bool GAD_SBJSONReader::readArray(pf::Value& out) {
  if (!enterContainer()) return false;
  pf::Value::Array elements;
  elements.reserve(hint(arrayHints_));
  for (;;) {
    if (atEnd()) return fail(GAD_SBJSONErrorEndOfInput, "End of input while parsing array");
    skipWhitespace();
    if (next(']')) {
      ++c_;
      remember(arrayHints_, elements.size());
      trim(elements);
      --depth_;
      out = pf::Value(std::move(elements));
      return true;
    }
    if (!readValue(elements.emplace_back()))
      return fail(GAD_SBJSONErrorParse, "Expected value while parsing array", error_);
    skipWhitespace();
    if (next(',')) {  // no comma at all is accepted: "[1 2]"
      ++c_;
      skipWhitespace();
      if (next(']')) return fail(GAD_SBJSONErrorTrailingComma, "Trailing comma disallowed in array");
    }
  }
}

bool GAD_SBJSONReader::readObject(pf::Value& out) {
  if (!enterContainer()) return false;
  pf::Value::Dictionary::Storage members;
  members.reserve(hint(objectHints_));
  for (;;) {
    if (atEnd()) return fail(GAD_SBJSONErrorEndOfInput, "End of input while parsing object");
    skipWhitespace();
    if (next('}')) {
      ++c_;
      remember(objectHints_, members.size());
      trim(members);
      --depth_;
      // Keys usually come in order (our own writer sorts them), which costs one check; a
      // later duplicate replaces the earlier value.
      out = pf::Value(pf::Value::Dictionary::fromUnsorted(std::move(members)));
      return true;
    }
    if (!next('"')) return fail(GAD_SBJSONErrorParse, "Object key string expected");
    ++c_;
    const char* stop = GAD_SBJSONPlainRun::find(c_, end_);
    if (stop != end_ && *stop == '"') {  // no escapes: the usual key, made in place
      members.emplace_back(std::piecewise_construct, std::forward_as_tuple(c_, stop),
                           std::forward_as_tuple());
      c_ = stop + 1;
    } else {
      auto& key = members.emplace_back().first;
      key.assign(c_, stop);  // the run already scanned; readString goes on from its end
      c_ = stop;
      if (!readString(key)) return fail(GAD_SBJSONErrorParse, "Object key string expected", error_);
    }
    auto& member = members.back();
    skipWhitespace();
    if (!next(':')) return fail(GAD_SBJSONErrorParse, "Expected ':' separating key and value");
    ++c_;
    skipWhitespace();
    if (!readValue(member.second))
      return fail(GAD_SBJSONErrorParse, "Object value expected for key: " + member.first, error_);
    skipWhitespace();
    if (next(',')) {
      ++c_;
      skipWhitespace();
      if (next('}')) return fail(GAD_SBJSONErrorTrailingComma, "Trailing comma disallowed in object");
    }
  }
}

bool GAD_SBJSONReader::readString(std::string& out) {
  for (;;) {
    const char* run = c_;
    c_ = GAD_SBJSONPlainRun::find(c_, end_);
    out.append(run, c_);
    if (atEnd()) break;  // an unterminated string: reported like byte 0 below
    if (*c_ == '"') {
      ++c_;
      return true;
    }
    if (*c_ != '\\') break;
    ++c_;
    if (!readEscape(out)) return false;
    if (atEnd()) return fail(GAD_SBJSONErrorEndOfInput, "Unexpected EOF while parsing string");
  }
  unsigned byte = atEnd() ? 0 : static_cast<unsigned char>(*c_);
  return fail(GAD_SBJSONErrorControlCharacter, withByte("Unescaped control character '0x%x'", byte));
}

bool GAD_SBJSONReader::readEscape(std::string& out) {
  unsigned char ch = atEnd() ? 0 : static_cast<unsigned char>(*c_);
  switch (ch) {
    case '"': case '/': case '\\': out += static_cast<char>(ch); break;
    case 'b': out += '\b'; break;
    case 'f': out += '\f'; break;
    case 'n': out += '\n'; break;
    case 'r': out += '\r'; break;
    case 't': out += '\t'; break;
    case 'u':
      ++c_;
      if (!readUnicodeEscape(out))
        return fail(GAD_SBJSONErrorUnicode, "Broken unicode character", error_);
      return true;  // the cursor is already past the escape
    default:
      return fail(GAD_SBJSONErrorEscape, withByte("Illegal escape sequence '0x%x'", ch));
  }
  ++c_;
  return true;
}

bool GAD_SBJSONReader::readUnicodeEscape(std::string& out) {
  unsigned unit;
  if (!readHexUnit(unit)) return fail(GAD_SBJSONErrorUnicode, "Missing hex quad");
  if (unit < 0xD800 || unit >= 0xE000) {
    appendUTF8(out, unit);
    return true;
  }
  if (unit >= 0xDC00) return fail(GAD_SBJSONErrorUnicode, "Invalid high character in surrogate pair");
  // A high surrogate: its low half must follow at once as another \u escape.
  if (end_ - c_ < 2 || c_[0] != '\\' || c_[1] != 'u')
    return fail(GAD_SBJSONErrorUnicode, "Missing low character in surrogate pair");
  c_ += 2;
  unsigned low;
  if (!readHexUnit(low))
    return fail(GAD_SBJSONErrorUnicode, "Missing low character in surrogate pair", error_);
  if (low < 0xDC00 || low > 0xDFFF) return fail(GAD_SBJSONErrorUnicode, "Invalid low surrogate char");
  appendUTF8(out, 0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00));
  return true;
}

// Four hex digits; all four are consumed even past a wrong one, but never past the end.
bool GAD_SBJSONReader::readHexUnit(unsigned& unit) {
  unit = 0;
  bool ok = true;
  for (int i = 0; i < 4; ++i) {
    if (atEnd()) return fail(GAD_SBJSONErrorUnicode, "Missing hex digit in quad");
    char ch = *c_++;
    unsigned digit;
    if (ch >= '0' && ch <= '9') digit = static_cast<unsigned>(ch - '0');
    else if (ch >= 'a' && ch <= 'f') digit = static_cast<unsigned>(ch - 'a' + 10);
    else if (ch >= 'A' && ch <= 'F') digit = static_cast<unsigned>(ch - 'A' + 10);
    else ok = false, digit = 0;
    unit = unit * 16 + digit;
  }
  return ok || fail(GAD_SBJSONErrorUnicode, "Missing hex digit in quad");
}

bool GAD_SBJSONReader::readNumber(pf::Value& out) {
  const bool negative = *c_ == '-';
  if (negative) ++c_;
  const char* integerStart = c_;
  if (next('0')) {
    ++c_;
    if (c_ != end_ && isDigit(*c_)) return fail(GAD_SBJSONErrorNumber, "Leading 0 disallowed in number");
  } else if (c_ != end_ && isDigit(*c_)) {
    while (c_ != end_ && isDigit(*c_)) ++c_;
  } else {
    return fail(GAD_SBJSONErrorNumber, "No digits after initial minus");
  }
  std::string_view integerDigits(integerStart, static_cast<size_t>(c_ - integerStart));

  std::string_view fractionDigits;
  if (next('.')) {
    const char* start = ++c_;
    while (c_ != end_ && isDigit(*c_)) ++c_;
    if (c_ == start) return fail(GAD_SBJSONErrorNumber, "No digits after decimal point");
    fractionDigits = std::string_view(start, static_cast<size_t>(c_ - start));
  }

  int64_t exponent = 0;
  bool hasExponent = false;
  if (next('e') || next('E')) {
    hasExponent = true;
    ++c_;
    bool negativeExponent = false;
    if (next('+') || next('-')) negativeExponent = *c_++ == '-';
    const char* start = c_;
    while (c_ != end_ && isDigit(*c_)) {
      // Clamped far beyond any representable value; digits past that change nothing.
      if (exponent < 1'000'000'000) exponent = exponent * 10 + (*c_ - '0');
      ++c_;
    }
    if (c_ == start) return fail(GAD_SBJSONErrorNumber, "No digits after exponent");
    if (negativeExponent) exponent = -exponent;
  }

  // The common case, a short integer, needs no decimal arithmetic.
  if (fractionDigits.empty() && !hasExponent && integerDigits.size() <= 18) {
    int64_t v = 0;
    for (char ch : integerDigits) v = v * 10 + (ch - '0');
    out = pf::Value(negative ? -v : v);
    return true;
  }
  // The next commonest, a plain decimal fraction ("-122.0841", "0.50"), is already in the
  // canonical form but for trailing zeros (JSON has no leading ones), so its text is taken as
  // it stands. Anything else (exponents, all-zero fractions, over 38 digits) is worked out.
  if (!hasExponent && !fractionDigits.empty() &&
      integerDigits.size() + fractionDigits.size() <= static_cast<size_t>(GAD_SBJSONDecimal::kMaxDigits)) {
    const char* last = c_;
    while (last[-1] == '0') --last;
    if (last[-1] != '.') {
      out = pf::Value::decimal(std::string(integerStart - (negative ? 1 : 0), last));
      return true;
    }
  }
  auto value = GAD_SBJSONDecimal::valueOf(negative, integerDigits, fractionDigits, exponent);
  if (!value) return fail(GAD_SBJSONErrorNumber, "Failed creating decimal instance");
  out = std::move(*value);
  return true;
}
