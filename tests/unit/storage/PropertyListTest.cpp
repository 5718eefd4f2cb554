#include "platform/base/PropertyList.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <string>

using pf::PropertyList;
using pf::Value;

namespace {

// One of every kind, nested, with the awkward values of each.
Value everyKind() {
  Value nested = Value::dictionary({
      {"empty array", Value::array()},
      {"empty dictionary", Value::dictionary()},
      {"list", Value::array({1, "two", Value::array({3.5, false})})},
  });
  return Value::dictionary({
      {"true", true},
      {"false", false},
      {"zero", 0},
      {"negative", -42},
      {"int64 min", std::numeric_limits<int64_t>::min()},
      {"int64 max", std::numeric_limits<int64_t>::max()},
      {"real", 0.1 + 0.2},
      {"tiny real", 5e-324},
      {"negative real", -1.5e300},
      {"whole real", 3.0},
      {"text", "Ash \xc3\xa9 \xe2\x82\xac \xf0\x9f\x8c\x99 <&> \"q\""},
      {"empty text", ""},
      {"cl\xc3\xa9", "UTF-8 key"},
      {"date", Value::date(789012345.0)},
      {"data", Value::data(std::string("\x00\x01\xff\x7f", 4))},
      {"empty data", Value::data("")},
      {"nested", nested},
  });
}

Value roundTrip(const Value& v, PropertyList::Format format) {
  auto bytes = PropertyList::write(v, format);
  EXPECT_TRUE(bytes);
  if (!bytes) return Value();
  auto back = PropertyList::read(*bytes);
  EXPECT_TRUE(back);
  return back ? *back : Value();
}

}  // namespace

TEST(PropertyList, EveryKindRoundTripsInBothFormats) {
  for (auto format : {PropertyList::Format::Binary, PropertyList::Format::Xml}) {
    Value back = roundTrip(everyKind(), format);
    EXPECT_EQ(back, everyKind()) << back.description();  // kinds too: true is not 1, 3.0 not 3
  }
}

// Also tells the two formats apart: only the binary one keeps the fraction.
TEST(PropertyList, DatesKeepSecondsAndBinaryKeepsTheFraction) {
  Value v = Value::array({Value::date(789012345.678901), Value::date(-3600.0), Value::date(-99.5)});
  EXPECT_NEAR(*roundTrip(v, PropertyList::Format::Binary)[0].asDate(), 789012345.678901, 2e-6);
  EXPECT_EQ(*roundTrip(v, PropertyList::Format::Xml)[0].asDate(), 789012345.0);
  for (auto format : {PropertyList::Format::Binary, PropertyList::Format::Xml}) {
    Value back = roundTrip(v, format);
    EXPECT_EQ(*back[1].asDate(), -3600.0);
    EXPECT_EQ(std::abs(*back[2].asDate() + 99.5), 0.5);  // before 2001: to the second
  }
}

TEST(PropertyList, ReadsHandWrittenXML) {
  const char* text = R"(<?xml version="1.0" encoding="UTF-8"?>
<!DOCTYPE plist PUBLIC "-//Apple//DTD PLIST 1.0//EN" "http://www.apple.com/DTDs/PropertyList-1.0.dtd">
<plist version="1.0">
<dict>
  <key>CFBundleIdentifier</key><string>com.kelvarn.ashenmoor</string>
  <key>UIRequiresPersistentWiFi</key><true/>
  <key>Count</key><integer>-7</integer>
  <key>Ratio</key><real>0.5</real>
  <key>When</key><date>2001-01-02T00:00:00Z</date>
  <key>Blob</key><data>AAH/</data>
  <key>Items</key><array><string>a</string><dict/></array>
</dict>
</plist>
)";
  auto v = PropertyList::read(text);
  ASSERT_TRUE(v);
  EXPECT_EQ((*v)["CFBundleIdentifier"], Value("com.kelvarn.ashenmoor"));
  EXPECT_EQ((*v)["UIRequiresPersistentWiFi"], Value(true));
  EXPECT_EQ((*v)["Count"], Value(-7));
  EXPECT_EQ((*v)["Ratio"], Value(0.5));
  EXPECT_EQ((*v)["When"], Value::date(86400));
  EXPECT_EQ((*v)["Blob"], Value::data(std::string("\x00\x01\xff", 3)));
  EXPECT_EQ((*v)["Items"], Value::array({"a", Value::dictionary()}));

  auto scalar = PropertyList::read(R"(<?xml version="1.0"?><plist version="1.0"><integer>5</integer></plist>)");
  ASSERT_TRUE(scalar);
  EXPECT_EQ(*scalar, Value(5));
}

TEST(PropertyList, BytesThatAreNoPropertyListReadAsNone) {
  auto good = PropertyList::write(everyKind(), PropertyList::Format::Binary);
  ASSERT_TRUE(good);
  EXPECT_FALSE(PropertyList::read(""));
  EXPECT_FALSE(PropertyList::read("hello"));
  EXPECT_FALSE(PropertyList::read("<?xml version=\"1.0\"?><plist><dict><key>a</key>"));
  EXPECT_FALSE(PropertyList::read(good->substr(0, good->size() / 2)));  // cut short
  EXPECT_FALSE(PropertyList::read(std::string("bplist00") + std::string(40, '\xff')));
}

TEST(PropertyList, NullAndOtherUnstorableValues) {
  // A null dictionary entry is the same as no entry, at any depth.
  Value withNulls = Value::dictionary(
      {{"keep", 1}, {"gone", Value()}, {"inner", Value::dictionary({{"gone", Value()}, {"x", 2}})}});
  Value expected = Value::dictionary({{"keep", 1}, {"inner", Value::dictionary({{"x", 2}})}});
  EXPECT_EQ(PropertyList::storable(withNulls), expected);
  EXPECT_EQ(roundTrip(withNulls, PropertyList::Format::Binary), expected);

  // Where dropping would change the meaning, nothing is written.
  for (const Value& bad : {
           Value(),
           Value::array({1, Value(), 3}),
           Value::dictionary({{"a", Value::array({Value()})}}),
           Value("bad \xff\xfe UTF-8"),
           Value(std::string("nul\0inside", 10)),
           Value::dictionary({{std::string("k\xc3", 2), 1}}),
           Value::date(3e9),   // past 2069
           Value::date(-3e9),  // before 1932
       }) {
    EXPECT_FALSE(PropertyList::storable(bad)) << bad.description();
    EXPECT_FALSE(PropertyList::write(bad, PropertyList::Format::Binary)) << bad.description();
    EXPECT_FALSE(PropertyList::write(bad, PropertyList::Format::Xml)) << bad.description();
  }
}

TEST(PropertyList, DecimalsAreWrittenAsTheNearestReal) {
  Value v = Value::dictionary({{"price", Value::decimal("12.5")}, {"huge", Value::decimal("100000000000000000000")}});
  Value expected = Value::dictionary({{"price", 12.5}, {"huge", 1e20}});
  EXPECT_EQ(PropertyList::storable(v), expected);
  EXPECT_EQ(roundTrip(v, PropertyList::Format::Binary), expected);
  EXPECT_EQ(roundTrip(v, PropertyList::Format::Xml), expected);
}

// A damaged binary file whose dictionary key holds a NUL reads as none; the library beneath
// would otherwise end the process on it.
TEST(PropertyList, BinaryKeyWithANulReadsAsNone) {
  auto bytes = pf::PropertyList::write(
      pf::Value::dictionary({{"ab", 1}, {"text", "value"}}), pf::PropertyList::Format::Binary);
  ASSERT_TRUE(bytes);
  ASSERT_TRUE(pf::PropertyList::read(*bytes));
  size_t key = bytes->find("\x52" "ab");
  ASSERT_NE(key, std::string::npos);
  std::string damaged = *bytes;
  damaged[key + 2] = '\0';
  EXPECT_FALSE(pf::PropertyList::read(damaged));
  EXPECT_FALSE(pf::PropertyList::read(bytes->substr(0, bytes->size() - 1)));  // no whole trailer
}
