#include "sdk/encoding/GAD_SBJSONWriter.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>

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

constexpr size_t kPrefetchDistance = 8;       // members ahead
constexpr size_t kArrayPrefetchDistance = 8;  // elements ahead

}  // namespace

namespace {
// The buffer a finished writing leaves for the next one on its thread.
struct Scratch {
  std::unique_ptr<char[]> buffer;
  size_t capacity = 0;
};
thread_local Scratch tScratch;
constexpr size_t kInitialRoom = 4096;
}  // namespace

GAD_SBJSONWriter::GAD_SBJSONWriter(bool humanReadable) : humanReadable_(humanReadable) {
  size_t capacity = tScratch.capacity;
  buffer_ = std::move(tScratch.buffer);  // a writer made meanwhile starts its own
  tScratch.capacity = 0;
  if (!buffer_) {
    capacity = kInitialRoom;
    buffer_.reset(new char[capacity]);
  }
  cursor_ = buffer_.get();
  limit_ = cursor_ + capacity;
}

GAD_SBJSONWriter::~GAD_SBJSONWriter() {
  const size_t capacity = static_cast<size_t>(limit_ - buffer_.get());
  if (capacity <= kKeptScratch && capacity > tScratch.capacity) {
    tScratch.buffer = std::move(buffer_);
    tScratch.capacity = capacity;
  }
}

char* GAD_SBJSONWriter::grow(size_t n) {
  const size_t used = static_cast<size_t>(cursor_ - buffer_.get());
  const size_t capacity = std::max(static_cast<size_t>(limit_ - buffer_.get()) * 2, used + n);
  std::unique_ptr<char[]> bigger(new char[capacity]);  // not zero-filled: every byte is written before read
  std::memcpy(bigger.get(), buffer_.get(), used);
  buffer_ = std::move(bigger);
  cursor_ = buffer_.get() + used;
  limit_ = buffer_.get() + capacity;
  return cursor_;
}

void GAD_SBJSONWriter::put(std::string_view text) {
  std::memcpy(room(text.size()), text.data(), text.size());
  cursor_ += text.size();
}

std::string GAD_SBJSONWriter::text() const {
  return std::string(buffer_.get(), static_cast<size_t>(cursor_ - buffer_.get()));
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

// Room is made for the text as if nothing needed escaping, and again at each escape for the
// escape and the rest: a long plain string asks for its own size, not six times it.
void GAD_SBJSONWriter::writeString(std::string_view text) {
  char* out = room(text.size() + 2);
  *out++ = '"';
  const char* p = text.data();
  const char* end = p + text.size();
  for (;;) {
    const char* stop = GAD_SBJSONPlainRun::find(p, end);
    std::memcpy(out, p, static_cast<size_t>(stop - p));
    out += stop - p;
    if (stop == end) break;
    cursor_ = out;
    out = room(6 + static_cast<size_t>(end - stop - 1) + 1);  // escape, the rest, the quote
    const unsigned char b = static_cast<unsigned char>(*stop);
    if (b < 32) {
      std::memcpy(out, kEscapes.text[b], 6);
      out += kEscapes.length[b];
    } else {  // the quote or the backslash
      out[0] = '\\';
      out[1] = static_cast<char>(b);
      out += 2;
    }
    p = stop + 1;
  }
  *out++ = '"';
  cursor_ = out;
}

bool GAD_SBJSONWriter::writeValue(const pf::Value& value) {
  switch (value.kind()) {
    case pf::Value::Kind::Dictionary: return writeObject(*value.asDictionary());
    case pf::Value::Kind::Array: return writeArray(*value.asArray());
    case pf::Value::Kind::String: writeString(value.stringRef()); return true;
    case pf::Value::Kind::Boolean: put(value.booleanPayload() ? "true" : "false"); return true;
    case pf::Value::Kind::Integer: {
      char* out = room(24);
      cursor_ = std::to_chars(out, out + 24, value.integerPayload()).ptr;
      return true;
    }
    case pf::Value::Kind::Real: return writeReal(value.realPayload());
    case pf::Value::Kind::Decimal: put(value.decimalText()); return true;
    case pf::Value::Kind::Null: put("null"); return true;
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
  char* out = room(32);
  cursor_ = std::to_chars(out, out + 32, d).ptr;
  return true;
}

void GAD_SBJSONWriter::writeIndentation() {
  const size_t width = 2 * static_cast<size_t>(depth_);
  char* out = room(width + 1);
  *out = '\n';
  std::memset(out + 1, ' ', width);
  cursor_ = out + 1 + width;
}

// Only a hint: for short texts the address is inside the value, for other kinds a static.
void GAD_SBJSONWriter::prefetch(const pf::Value& value) {
  if (const auto* members = value.asDictionary()) __builtin_prefetch(members);
  else if (const auto* items = value.asArray()) __builtin_prefetch(items);
  else __builtin_prefetch(value.stringRef().data());
}

// One container ahead, when its header has arrived (asked for kPrefetchDistance ahead): the
// first lines of its members, which are elsewhere again.
void GAD_SBJSONWriter::prefetchContents(const pf::Value& value) {
  const char* first = nullptr;
  if (const auto* members = value.asDictionary()) {
    if (!members->empty()) first = reinterpret_cast<const char*>(&*members->begin());
  } else if (const auto* items = value.asArray()) {
    if (!items->empty()) first = reinterpret_cast<const char*>(items->data());
  }
  if (!first) return;
  for (int line = 0; line < 4; ++line) __builtin_prefetch(first + 64 * line);
}

bool GAD_SBJSONWriter::writeObject(const pf::Value::Dictionary& members) {
  put('{');
  ++depth_;
  // The members' texts and nested containers may be anywhere in the heap (a tree built key
  // by key is scattered): ask for them a few members ahead rather than miss on each in turn.
  const size_t count = members.size();
  const auto entries = members.begin();
  for (size_t i = 0; i < count && i < kPrefetchDistance; ++i) prefetch(entries[i].second);
  bool first = true;
  for (size_t i = 0; i < count; ++i) {
    if (i + kPrefetchDistance < count) prefetch(entries[i + kPrefetchDistance].second);
    const auto& [key, value] = entries[i];
    if (!first) put(',');
    first = false;
    if (humanReadable_) writeIndentation();
    writeString(key);
    if (humanReadable_) put(" : ");
    else put(':');
    if (!writeValue(value))  // the inner reason is replaced by the member's
      return fail(GAD_SBJSONErrorUnsupported, "Unsupported value for key " + key + " in object");
  }
  --depth_;
  if (humanReadable_ && !members.empty()) writeIndentation();
  put('}');
  return true;
}

bool GAD_SBJSONWriter::writeArray(const pf::Value::Array& items) {
  const size_t count = items.size();
  for (size_t i = 0; i < count && i < kArrayPrefetchDistance; ++i) prefetch(items[i]);
  put('[');
  ++depth_;
  bool first = true;
  for (size_t i = 0; i < count; ++i) {
    if (i + kArrayPrefetchDistance < count) prefetch(items[i + kArrayPrefetchDistance]);
    if (i + 1 < count) prefetchContents(items[i + 1]);
    const pf::Value& item = items[i];
    if (!first) put(',');
    first = false;
    if (humanReadable_) writeIndentation();
    if (!writeValue(item)) return false;  // the element's own error goes up unchanged
  }
  --depth_;
  if (humanReadable_ && !items.empty()) writeIndentation();
  put(']');
  return true;
}
