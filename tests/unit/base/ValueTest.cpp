#include "platform/base/Value.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>

using pf::Value;

TEST(Value, BooleansAreTheirOwnKind) {
  EXPECT_NE(Value(true), Value(1));
  EXPECT_NE(Value(false), Value(0));
  EXPECT_EQ(Value(true).kind(), Value::Kind::Boolean);
  EXPECT_FALSE(Value(true).asInteger());
  EXPECT_FALSE(Value(1).asBoolean());
  EXPECT_EQ(Value(true), Value(true));
}

TEST(Value, AccessorsAnswerAbsentForOtherKinds) {
  Value s("text");
  EXPECT_EQ(s.asString(), "text");
  EXPECT_FALSE(s.asInteger());
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
