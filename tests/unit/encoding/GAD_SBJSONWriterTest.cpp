// The JSON writer: layout in both modes, string escaping, number and boolean forms, the
// failures and their messages; and numbers' digits through the reader. (Round trips of every
// kind of document are JSONTestSuiteTest's.)
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <thread>

#include "GAD_SBJSONTestSupport.h"
#include "sdk/encoding/GAD_SBJSONWriter.h"

using json_test::read;
using json_test::write;
using pf::Value;

namespace {
std::vector<std::string> writeFailure(const Value& value, bool fragment = true) {
  pf::Error error("none", 0);
  GAD_SBJSON json;
  if (json.stringWithObjectAllowScalarError(value, fragment, &error)) return {};
  EXPECT_EQ(error.domain(), GAD_SBJSONErrorDomain);
  return json_test::chain(error);
}
}  // namespace

// Both modes, with empty containers (which stay on one line) inside.
TEST(GAD_SBJSONWriter, HumanReadableLayout) {
  Value v = Value::dictionary(
      {{"a", Value::array({1, Value::dictionary({{"b", true}}), Value::array()})}, {"c", "x"}, {"d", Value::dictionary()}});
  EXPECT_EQ(write(v, false, true),
            "{\n  \"a\" : [\n    1,\n    {\n      \"b\" : true\n    },\n    []\n  ],\n  \"c\" : \"x\",\n  \"d\" : {}\n}");
  EXPECT_EQ(write(v, false, false), R"({"a":[1,{"b":true},[]],"c":"x","d":{}})");
}

TEST(GAD_SBJSONWriter, StringEscaping) {
  EXPECT_EQ(write(Value("a\tb\x01")), R"("a\tb\u0001")");
  EXPECT_EQ(write(Value("/\xC3\xA9\x7F\xE2\x80\xA8")), "\"/\xC3\xA9\x7F\xE2\x80\xA8\"");  // unchanged
  EXPECT_EQ(write(Value("\"\\\b\f\n\r")), R"("\"\\\b\f\n\r")");
  EXPECT_EQ(write(Value(std::string("\0\x1f\x0b", 3))), R"("\u0000\u001f\u000b")");
  // Every control byte, at every offset of the scanner's blocks.
  for (int b = 0; b < 32; ++b) {
    for (size_t pad = 0; pad < 20; ++pad) {
      std::string text(pad, 'p');
      text += static_cast<char>(b);
      text += "tail";
      auto json = write(Value(text));
      ASSERT_TRUE(json);
      EXPECT_EQ(read(*json), Value(text)) << b << " at " << pad;
      EXPECT_EQ(json->find_first_of(std::string("\0\x1f", 2)), std::string::npos);
    }
  }
}

TEST(GAD_SBJSONWriter, NumbersAndBooleans) {
  EXPECT_EQ(write(Value::array({true, false, 3, -42, Value()})), "[true,false,3,-42,null]");
  EXPECT_EQ(write(Value(INT64_MIN)), "-9223372036854775808");
  EXPECT_EQ(write(Value(0.5)), "0.5");
  EXPECT_EQ(write(Value(0.1)), "0.1");  // the shortest text that reads back as the same double
  EXPECT_EQ(write(Value(320.0)), "320");
  EXPECT_EQ(write(Value(1e300)), "1e+300");
  EXPECT_EQ(write(Value(-2.5e-8)), "-2.5e-08");
  EXPECT_EQ(write(Value::decimal("-0.0015")), "-0.0015");
  for (double d : {0.1, 1.0 / 3, 0.1 + 0.2, 6.02214076e23, -1e-100, 1.7976931348623157e120}) {
    EXPECT_EQ(read(*write(Value(d)))->asReal(), d);
  }
  // Doubles beyond the reader's decimal range are written, but reading them back is refused
  // rather than rounded.
  EXPECT_FALSE(read(*write(Value(4.9e-324))));
}

TEST(GAD_SBJSONWriter, TopLevelRule) {
  EXPECT_EQ(writeFailure(Value("text"), false), std::vector<std::string>{"4: Not valid type for JSON"});
  EXPECT_EQ(writeFailure(Value(), false), std::vector<std::string>{"4: Not valid type for JSON"});
  EXPECT_EQ(write(Value("text"), true), "\"text\"");
  EXPECT_EQ(write(Value(), true), "null");
}

TEST(GAD_SBJSONWriter, ValuesWithoutAJSONForm) {
  using Chain = std::vector<std::string>;
  EXPECT_EQ(writeFailure(Value::date(0)), Chain{"1: JSON serialisation not supported for date"});
  EXPECT_EQ(writeFailure(Value::data("ab")), Chain{"1: JSON serialisation not supported for data"});
  EXPECT_EQ(writeFailure(Value(std::nan(""))), Chain{"1: JSON serialisation not supported for nan"});
  EXPECT_EQ(writeFailure(Value(-HUGE_VAL)), Chain{"1: JSON serialisation not supported for -inf"});
  // In an object the member's failure replaces the inner one; an array passes it up unchanged.
  EXPECT_EQ(writeFailure(Value::dictionary({{"ok", 1}, {"when", Value::date(1)}})),
            Chain{"1: Unsupported value for key when in object"});
  EXPECT_EQ(writeFailure(Value::array({1, Value::array({Value::data("x")})})),
            Chain{"1: JSON serialisation not supported for data"});
  EXPECT_EQ(writeFailure(Value::dictionary({{"outer", Value::dictionary({{"inner", HUGE_VAL}})}})),
            Chain{"1: Unsupported value for key outer in object"});
}

TEST(GAD_SBJSONRoundTrip, NumberDigitsArePreserved) {
  const std::string numbers[] = {"0.1", "-0.0015", "3.14159265358979323846264338327950288",
                           "123456789012345678901234567890", "9223372036854775808",
                           "0.00000000000000000000000000000000000000000000000000000001",
                           "12345678901234567890123456789012345678" + std::string(127, '0')};
  for (const std::string& number : numbers) {
    EXPECT_EQ(write(*read("[" + number + "]")), "[" + number + "]");
  }
  EXPECT_EQ(write(*read("[1.50e1, 2.000, 1e3]")), "[15,2,1000]");  // value kept, form canonical
}

// The writer keeps its buffer for the next writing on the thread: a long text, a failure
// halfway and a text past the size kept must not leak into what is written next.
TEST(GAD_SBJSONWriter, EachTextStandsAloneWhateverCameBefore) {
  const std::string big(3 << 20, 'x');  // past the first doublings
  EXPECT_EQ(write(Value::array({big}))->size(), big.size() + 4);
  EXPECT_EQ(write(Value::array({1})), "[1]");
  EXPECT_FALSE(write(Value::array({"partial", Value::date(0)})));
  EXPECT_EQ(write(Value::dictionary({{"a", true}})), R"({"a":true})");
  const std::string huge(GAD_SBJSONWriter::kKeptScratch + 10, 'y');
  EXPECT_EQ(write(Value(huge))->size(), huge.size() + 2);
  EXPECT_EQ(write(Value("z")), "\"z\"");
  // Writing on another thread at the same time uses a buffer of its own.
  std::string other;
  std::thread t([&] { other = *write(Value::array({std::string(10000, 'o')})); });
  const std::string mine = *write(Value::array({std::string(10000, 'm')}));
  t.join();
  EXPECT_EQ(other, "[\"" + std::string(10000, 'o') + "\"]");
  EXPECT_EQ(mine, "[\"" + std::string(10000, 'm') + "\"]");
}

// Room is made per escape, so escapes that land where the buffer must grow, and texts that
// are all escapes, come out whole.
TEST(GAD_SBJSONWriter, EscapesAcrossBufferGrowth) {
  std::string text, expected = "[\"";
  for (int i = 0; i < 70000; ++i) {
    const char c = "\x01\"a\\\n"[i % 5];
    text += c;
    expected += c == '\x01' ? "\\u0001" : c == '"' ? "\\\"" : c == '\\' ? "\\\\" : c == '\n' ? "\\n" : "a";
  }
  expected += "\"]";
  EXPECT_EQ(write(Value::array({text})), expected);
  const std::string controls(5000, '\x1f');
  std::string escaped;
  for (size_t i = 0; i < controls.size(); ++i) escaped += "\\u001f";
  EXPECT_EQ(write(Value(controls)), "\"" + escaped + "\"");
}
