#include "platform/base/Value.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

using pf::Value;

TEST(Value, BooleansAreTheirOwnKind) {
  EXPECT_NE(Value(true), Value(1));
  EXPECT_NE(Value(false), Value(0));
  EXPECT_FALSE(Value(true).asInteger());
  EXPECT_FALSE(Value(1).asBoolean());
}

TEST(Value, AccessorsAnswerAbsentForOtherKinds) {
  Value s("text");
  EXPECT_EQ(s.asString(), "text");
  EXPECT_FALSE(s.asInteger());
  EXPECT_FALSE(Value("12").asInteger());  // no parsing of text
  EXPECT_FALSE(s.asReal());
  EXPECT_FALSE(s.asData());
  EXPECT_EQ(s.asArray(), nullptr);
  EXPECT_EQ(s.asDictionary(), nullptr);
  EXPECT_TRUE(s["key"].isNull());
  EXPECT_TRUE(s[size_t{0}].isNull());

  Value data = Value::data(std::string("\x00\x01", 2));
  EXPECT_FALSE(data.asString());
  EXPECT_EQ(data.asData()->size(), 2u);
  EXPECT_NE(data, Value(std::string("\x00\x01", 2)));  // data is not a string

  Value date = Value::date(12.5);
  EXPECT_EQ(date.asDate(), 12.5);
  EXPECT_FALSE(date.asReal());
  EXPECT_NE(date, Value(12.5));
}

TEST(Value, NumbersConvertButNotAcrossBooleans) {
  EXPECT_EQ(Value(3.9).asInteger(), 3);
  EXPECT_EQ(Value(-3.9).asInteger(), -3);
  EXPECT_EQ(Value(int64_t{1} << 62).asReal(), 4611686018427387904.0);
  EXPECT_FALSE(Value(1e300).asInteger());  // no undefined conversion
  EXPECT_FALSE(Value(std::nan("")).asInteger());
  EXPECT_EQ(Value(INT64_MIN).asInteger(), INT64_MIN);
}

TEST(Value, DictionaryEditsDoNotLeakIntoCopies) {
  Value a = Value::dictionary({{"x", 1}});
  Value b = a;
  b.set("x", 2);
  b.set("y", "new");
  EXPECT_EQ(a["x"], Value(1));
  EXPECT_FALSE(a.contains("y"));
  EXPECT_EQ(b["x"], Value(2));
  EXPECT_TRUE(b.remove("y"));
  EXPECT_FALSE(b.remove("y"));

  Value list = Value::array({1, 2});
  Value copy = list;
  copy.append(3);
  EXPECT_EQ(list.size(), 2u);
  EXPECT_EQ(copy.size(), 3u);
  EXPECT_EQ(copy[2], Value(3));
}

TEST(Value, NullBecomesAContainerOnFirstWrite) {
  Value d;
  d.set("k", "v");
  EXPECT_TRUE(d.isDictionary());
  Value a;
  a.append(1);
  EXPECT_TRUE(a.isArray());
  Value s("x");
  s.set("k", 1);  // not a container: left alone
  EXPECT_EQ(s, Value("x"));
}

TEST(Value, EqualityIsDeep) {
  Value a = Value::dictionary({{"list", Value::array({1, "two", Value::dictionary({{"n", 2.5}})})}});
  Value b = Value::dictionary({{"list", Value::array({1, "two", Value::dictionary({{"n", 2.5}})})}});
  EXPECT_EQ(a, b);
  b.set("list", Value::array({1, "two", Value::dictionary({{"n", 2.6}})}));
  EXPECT_NE(a, b);
}

TEST(Value, DescriptionIsReadableAndStable) {
  Value v = Value::dictionary({{"b", Value::array({true, 2, "x\"y"})}, {"a", nullptr}});
  EXPECT_EQ(v.description(), "{ \"a\" = <null>; \"b\" = (true, 2, \"x\\\"y\"); }");
  EXPECT_EQ(Value::data("\x01\xff\x02\x03\x04").description(), "<01ff0203 04>");
}

namespace {
std::vector<std::string> keysOf(const Value& v) {
  std::vector<std::string> keys;
  for (const auto& [key, item] : *v.asDictionary()) keys.push_back(key);
  return keys;
}
}  // namespace

TEST(Value, DictionaryKeysComeInByteOrder) {
  Value d;
  for (const char* key : {"b", "\xC3\xA9", "a", "Z", "", "ab"}) d.set(key, key);
  EXPECT_EQ(keysOf(d), (std::vector<std::string>{"", "Z", "a", "ab", "b", "\xC3\xA9"}));
  for (const auto& [key, item] : *d.asDictionary()) EXPECT_EQ(d[key], Value(key)) << key;
  d.set("ab", 7);  // replaced in place, not added (the keys below have it once)
  EXPECT_EQ(d["ab"], Value(7));
  EXPECT_TRUE(d.remove("a"));
  EXPECT_EQ(keysOf(d), (std::vector<std::string>{"", "Z", "ab", "b", "\xC3\xA9"}));
  EXPECT_TRUE(d[""].isString());
  EXPECT_TRUE(d["a"].isNull());
}

TEST(Value, DictionaryBuiltFromAListKeepsTheFirstOfAKey) {
  Value d = Value::dictionary({{"k", 1}, {"b", 2}, {"k", 3}, {"a", 4}});
  EXPECT_EQ(keysOf(d), (std::vector<std::string>{"a", "b", "k"}));
  EXPECT_EQ(d, Value::dictionary({{"a", 4}, {"b", 2}, {"k", 1}}));
}

TEST(Value, DictionaryFromUnsortedEntriesKeepsTheLastOfAKey) {
  EXPECT_EQ(Value(Value::Dictionary::fromUnsorted({{"m", 1}, {"c", "x"}, {"m", 2}, {"a", true}, {"m", 3}})),
            Value::dictionary({{"a", true}, {"c", "x"}, {"m", 3}}));
  EXPECT_EQ(Value(Value::Dictionary::fromUnsorted({{"a", 1}, {"b", 2}})), Value::dictionary({{"b", 2}, {"a", 1}}));
}

TEST(Value, DictionaryOffersTheMapOperations) {
  Value::Dictionary d;
  EXPECT_TRUE(d.empty());
  d["b"] = 2;
  d["a"] = 1;
  EXPECT_TRUE(d.insert({"a", 10}).second == false);  // present: left alone
  EXPECT_EQ(d.at("a"), Value(1));
  EXPECT_TRUE(d.insert_or_assign("a", 11).second == false);
  EXPECT_EQ(d.at("a"), Value(11));
  EXPECT_TRUE(d.try_emplace("c", "three").second);
  EXPECT_TRUE(d.emplace("d", 4.5).second);
  EXPECT_EQ(d.size(), 4u);
  EXPECT_EQ(d.count("c"), 1u);
  EXPECT_EQ(d.count("z"), 0u);
  EXPECT_TRUE(d.find("zz") == d.end());
  EXPECT_EQ(d.find("c")->second, Value("three"));
  EXPECT_EQ(d.lower_bound("bb")->first, "c");
  EXPECT_THROW((void)d.at("missing"), std::out_of_range);
  EXPECT_EQ(d.erase("b"), 1u);
  EXPECT_EQ(d.erase("b"), 0u);
  auto next = d.erase(d.find("a"));
  EXPECT_EQ(next->first, "c");
  EXPECT_EQ(d.size(), 2u);
  Value v(d);
  EXPECT_EQ(v, Value::dictionary({{"c", "three"}, {"d", 4.5}}));
  d.clear();
  EXPECT_EQ(v.size(), 2u);  // the value took its own copy
}

TEST(Value, MovedFromValuesAreNullAndStringsAreIndependent) {
  Value s(std::string(100, 'x'));
  Value copy = s;
  Value moved = std::move(s);
  EXPECT_TRUE(s.isNull());  // NOLINT(bugprone-use-after-move): the state is part of the contract
  EXPECT_EQ(moved, copy);
  moved = Value("short");
  EXPECT_EQ(copy.stringRef(), std::string(100, 'x'));

  Value list = Value::array({Value::data("\x01"), Value::decimal("1.5"), "t"});
  Value taken = std::move(list);
  EXPECT_TRUE(list.isNull());  // NOLINT(bugprone-use-after-move)
  EXPECT_EQ(taken.size(), 3u);
  EXPECT_EQ(taken[size_t{1}].decimalText(), "1.5");
  EXPECT_EQ(taken[size_t{0}].asData(), "\x01");
}

TEST(Value, AssigningAPartOfAValueToItselfKeepsThePart) {
  const Value inner = Value::dictionary({{"leaf", std::string(40, 'y')}});
  Value v = Value::dictionary({{"child", inner}, {"other", 1}});
  v = v["child"];
  EXPECT_EQ(v, inner);

  Value list = Value::array({Value::array({1, 2}), 3});
  list = std::move(const_cast<Value&>(list[size_t{0}]));
  EXPECT_EQ(list, Value::array({1, 2}));

  Value text("some text that is not short at all");
  Value& alias = text;
  text = alias;
  EXPECT_EQ(text, Value("some text that is not short at all"));
}
