// The JSON reader: grammar, the exact error codes, messages and underlying-error chains,
// numbers kept exact, the depth limit, and the leniencies kept on purpose.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "GAD_SBJSONTestSupport.h"
#include "TestData.h"
#include "sdk/encoding/GAD_SBJSONDecimal.h"

using json_test::read;
using json_test::readFailure;
using pf::Value;
using Chain = std::vector<std::string>;

namespace {
std::string nested(size_t levels) { return std::string(levels, '[') + std::string(levels, ']'); }
}  // namespace

TEST(GAD_SBJSONReader, ReadsEveryKindAndNestedContainersKeepTheirOwnMembers) {
  const std::string longText(40, 'q');
  auto v = read(R"({"z":[{"b":1,"a":[2,{"c":3},[]],"b":"again"},4,{},-2,true,false,null],)"
                R"("a":{"y":")" + longText + R"(","x":null},"\u00e9":[[],[5]],"m":"k","a":5})",
                false);
  ASSERT_TRUE(v);
  Value inner;
  inner.set("b", "again");
  inner.set("a", Value::array({2, Value::dictionary({{"c", 3}}), Value::array()}));
  Value expected;
  expected.set("z", Value::array({inner, 4, Value::dictionary(), -2, true, false, Value()}));
  expected.set("\xC3\xA9", Value::array({Value::array(), Value::array({5})}));
  expected.set("m", "k");
  expected.set("a", 5);  // the later member replaces the whole object before it
  EXPECT_EQ(*v, expected);  // entry by entry: the keys in byte order too
}

// Every refusal and its exact error chain: the table is long, so it is data
// (tests/testdata/json-reader-refusals.tsv).
TEST(GAD_SBJSONReader, RefusalsGiveTheirErrorChains) {
  for (const auto& row : test_data::rows("json-reader-refusals.tsv")) {
    ASSERT_EQ(row.size(), 3u);
    SCOPED_TRACE(row[1]);
    Chain expected;
    for (size_t start = 0, end; start <= row[2].size(); start = end + 3) {
      end = std::min(row[2].find(" | ", start), row[2].size());
      expected.push_back(row[2].substr(start, end - start));
    }
    EXPECT_EQ(readFailure(row[1], row[0] == "f"), expected);
  }
}

TEST(GAD_SBJSONReader, NilInputIsRefused) {
  pf::Error error("none", 0);
  EXPECT_FALSE(GAD_SBJSON().objectWithStringError(std::nullopt, &error));
  EXPECT_EQ(json_test::chain(error), Chain{"12: Input was 'nil'"});
  EXPECT_FALSE(GAD_SBJSON().objectWithStringError(std::nullopt));  // no error out-argument
}

TEST(GAD_SBJSONReader, LeniencesKeptOnPurpose) {
  // A missing comma is accepted; the later of two equal keys wins; \v and \f are white space;
  // nothing after a number is examined.
  EXPECT_EQ(read("[1 2]"), Value::array({1, 2}));
  EXPECT_EQ(read(R"({"a":1 "b":2})"), Value::dictionary({{"a", 1}, {"b", 2}}));
  EXPECT_EQ(read(R"({"a":1,"a":2})"), Value::dictionary({{"a", 2}}));
  EXPECT_EQ(read(" \t\n\v\f\r[\v1\f]\r\n", false), Value::array({1}));
  EXPECT_EQ(read("[1true]"), Value::array({1, true}));
}

TEST(GAD_SBJSONReader, DepthLimit) {
  EXPECT_TRUE(read(nested(512)));
  auto failure = readFailure(nested(513));
  ASSERT_EQ(failure.size(), 513u);  // each enclosing array wraps the failure once
  EXPECT_EQ(failure.front(), "3: Expected value while parsing array");
  EXPECT_EQ(failure.back(), "7: Nested too deep");
  EXPECT_EQ(readFailure(std::string(600, '{'), true, 512).back(), "3: Object key string expected");
  EXPECT_EQ(readFailure("[[[1]]]", true, 2).back(), "7: Nested too deep");
  EXPECT_TRUE(readFailure("[[1],[2],[3]]", true, 2).empty());  // depth is lowered on close

  EXPECT_TRUE(readFailure(nested(1500), true, 0).empty());  // 0: no limit of its own
  // …but hostile nesting still cannot exhaust the stack.
  auto deepest = read(nested(GAD_SBJSON::kDepthCeiling));
  ASSERT_FALSE(deepest);  // the default limit applies first
  GAD_SBJSON unlimited;
  unlimited.setMaxDepth(0);
  deepest = unlimited.objectWithStringError(nested(GAD_SBJSON::kDepthCeiling));
  ASSERT_TRUE(deepest);  // and such a tree can be written, compared and released
  EXPECT_EQ(unlimited.stringWithObjectError(*deepest), nested(GAD_SBJSON::kDepthCeiling));
  EXPECT_EQ(*deepest, *unlimited.objectWithStringError(nested(GAD_SBJSON::kDepthCeiling)));
  EXPECT_EQ(readFailure(nested(GAD_SBJSON::kDepthCeiling + 1), true, 0).back(), "7: Nested too deep");
}

TEST(GAD_SBJSONReader, StringEscapes) {
  EXPECT_EQ(read(R"("\"\\\/\b\f\n\r\t")"), Value("\"\\/\b\f\n\r\t"));
  EXPECT_EQ(read(R"("\u0041\u00e9\u20AC")"), Value("A\xC3\xA9\xE2\x82\xAC"));
  EXPECT_EQ(read(R"("a\u0000b")"), Value(std::string("a\0b", 3)));
  EXPECT_EQ(read(R"("\uD83D\uDE00")"), Value("\xF0\x9F\x98\x80"));  // U+1F600
  EXPECT_EQ(read(R"("\uD83D\uDFFF")"), Value("\xF0\x9F\x9F\xBF"));  // U+1F7FF
  EXPECT_EQ(read(R"("\uDBFF\uDFFF")"), Value("\xF4\x8F\xBF\xBF"));  // U+10FFFF
  EXPECT_EQ(read("\"h\xC3\xA9llo \xF0\x9F\x98\x80\""), Value("h\xC3\xA9llo \xF0\x9F\x98\x80"));
  EXPECT_TRUE(read("[\"\xEF\xBF\xBF\xF4\x8F\xBF\xBF\"]"));  // U+FFFF and U+10FFFF are fine
  // A long string crosses the scanner's 16-byte blocks with escapes at every offset.
  std::string text, expected;
  for (int i = 0; i < 40; ++i) {
    text += std::string(static_cast<size_t>(i % 17), 'x') + "\\n";
    expected += std::string(static_cast<size_t>(i % 17), 'x') + "\n";
  }
  EXPECT_EQ(read("\"" + text + "\""), Value(expected));
}

TEST(GAD_SBJSONReader, NumberGrammar) {
  EXPECT_EQ(read("-0.5e+3"), Value(-500));
  EXPECT_EQ(read("[1E2, 1e-0, 0, -0, 0.0]"), Value::array({100, 1, 0, 0, 0}));
}

TEST(GAD_SBJSONReader, NumbersAreExact) {
  EXPECT_EQ(read("9223372036854775807"), Value(int64_t{9223372036854775807}));
  EXPECT_EQ(read("-9223372036854775808"), Value(INT64_MIN));
  EXPECT_EQ(read("9223372036854775808"), Value::decimal("9223372036854775808"));
  EXPECT_EQ(read("-9223372036854775809"), Value::decimal("-9223372036854775809"));
  EXPECT_EQ(read("123456789012345678"), Value(int64_t{123456789012345678}));  // fast path
  EXPECT_EQ(read("1.50"), Value::decimal("1.5"));
  EXPECT_EQ(read("-1.5e-3"), Value::decimal("-0.0015"));
  EXPECT_EQ(read("12.5E1"), Value(125));
  EXPECT_EQ(read("0.1"), Value::decimal("0.1"));
  EXPECT_EQ(read("2e20"), Value::decimal("200000000000000000000"));
  // Digits a double cannot hold survive.
  EXPECT_EQ(read("0.30000000000000000000000000000000000001"),
            Value::decimal("0.30000000000000000000000000000000000001"));
  EXPECT_EQ(read("0.1")->asReal(), 0.1);
  EXPECT_EQ(read("-7.9")->asInteger(), -7);
}

TEST(GAD_SBJSONReader, DecimalLimits) {
  // The largest of each kind that is still read (the next ones are in the refusals table).
  for (const std::string& text : {std::string(38, '9'), "1" + std::string(60, '0'),
                                 std::string("1.2345678901234567890123456789012345678"), std::string("1e-128"),
                                 std::string("1e164")})
    EXPECT_TRUE(read(text)) << text;
  EXPECT_EQ(read("0e99999999999999999999999"), Value(0));
  EXPECT_EQ(read("0." + std::string(5000, '0') + "e5000"), Value(0));
  EXPECT_EQ(read("0.000000000000000000000000000000000000000000001e44"), Value::decimal("0.1"));
}

TEST(GAD_SBJSONReader, ObjectCanBeReusedAfterAFailure) {
  GAD_SBJSON json;
  pf::Error error("none", 0);
  EXPECT_FALSE(json.objectWithStringError("[[[", &error));
  EXPECT_EQ(json.objectWithStringError("[[1]]", &error), Value::array({Value::array({1})}));
}

// Plain fractions are taken from the text as written; every other number is worked out.
// Both roads must give the same value for every form.
TEST(GAD_SBJSONReader, PlainFractionsMatchTheWorkedOutDecimal) {
  const std::vector<std::string> integers{"0", "7", "12", "100", "9223372036854775807",
                                          "12345678901234567890123456789012345"};
  const std::vector<std::string> fractions{"0", "5", "50", "05", "000", "0001", "120",
                                           "30000000000000000001", "1234567890123456789012345"};
  for (const char* sign : {"", "-"}) {
    for (const auto& whole : integers) {
      for (const auto& fraction : fractions) {
        const std::string text = sign + whole + "." + fraction;
        EXPECT_EQ(read(text), GAD_SBJSONDecimal::valueOf(*sign == '-', whole, fraction, 0)) << text;
      }
    }
  }
}

// The reader reserves room for a container from the ones read before it at the same depth;
// a wrong guess must never change what is read, whatever the order of shapes.
TEST(GAD_SBJSONReader, ContainersOfChangingShapesReadWhole) {
  auto object = [](int members) {
    std::string text = "{";
    for (int i = 0; i < members; ++i) text += (i ? ",\"k" : "\"k") + std::to_string(i) + "\":" + std::to_string(i);
    return text + "}";
  };
  auto array = [](int elements) {
    std::string text = "[";
    for (int i = 0; i < elements; ++i) text += (i ? "," : "") + std::to_string(i);
    return text + "]";
  };
  for (int size : {0, 1, 40, 3, 5000, 2, 0, 64, 63, 65, 1}) {
    const std::string text = "[" + object(size) + "," + array(size) + ",[" + array(size) + "]]";
    auto v = read(text);
    ASSERT_TRUE(v) << size;
    ASSERT_EQ((*v)[size_t{0}].size(), static_cast<size_t>(size));
    ASSERT_EQ((*v)[size_t{1}].size(), static_cast<size_t>(size));
    ASSERT_EQ((*v)[size_t{2}][size_t{0}].size(), static_cast<size_t>(size));
    if (size) {
      EXPECT_EQ((*v)[size_t{0}]["k" + std::to_string(size - 1)], Value(size - 1));
      EXPECT_EQ((*v)[size_t{1}][static_cast<size_t>(size - 1)], Value(size - 1));
      // Room left over from a larger guess is given back.
      EXPECT_LE((*v)[size_t{1}].asArray()->capacity(), static_cast<size_t>(size) * 5 / 4 + 2);
    }
  }
  // A failure halfway leaves nothing behind for the next reading on this thread.
  EXPECT_FALSE(read(R"([{"a":1,"b":[1,2,)"));
  EXPECT_EQ(read(R"([{"a":1}])"), Value::array({Value::dictionary({{"a", 1}})}));
}
