// GADMacros: the JSON wrappers' narrowing of results (dictionary only; "" on a writer error).
#include "sdk/utility/GADMacros.h"

#include <gtest/gtest.h>

using pf::Value;

TEST(GADMacros, ReadJsonAcceptsOnlyADictionary) {
  EXPECT_EQ(GADMacros::readJson(R"({"a":[1,"x"]})"),
            Value::dictionary({{"a", Value::array({1, "x"})}}));
  EXPECT_FALSE(GADMacros::readJson(std::nullopt));
  EXPECT_FALSE(GADMacros::readJson("[1,2]"));
  EXPECT_FALSE(GADMacros::readJson("\"text\""));
  EXPECT_FALSE(GADMacros::readJson(R"({"a":1,})"));
  EXPECT_FALSE(GADMacros::readJson(""));
}

TEST(GADMacros, JsonifyWritesCompactJsonOrEmptyText) {
  EXPECT_EQ(GADMacros::jsonify(Value::dictionary({{"u_w", 320}, {"net", "wi"}, {"on", true}})),
            R"({"net":"wi","on":true,"u_w":320})");
  EXPECT_EQ(GADMacros::jsonify(Value::array({1})), "[1]");
  EXPECT_FALSE(GADMacros::jsonify(std::nullopt));
  // A value the writer cannot encode empties the whole text instead of failing the caller.
  EXPECT_EQ(GADMacros::jsonify(Value::dictionary({{"ios_metadata", Value::dictionary({{"d", Value::date(0)}})}})), "");
  EXPECT_EQ(GADMacros::jsonify(Value("scalar")), "");
}
