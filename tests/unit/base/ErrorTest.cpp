#include "platform/base/Error.h"

#include <gtest/gtest.h>

TEST(Error, CarriesDomainCodeMessageAndCause) {
  auto cause = std::make_shared<const pf::Error>(pf::Error::withDescription("inner", 3, "bad digit"));
  pf::Error e = pf::Error::withDescription("org.example", -2, "cannot parse", cause);
  EXPECT_EQ(e.domain(), "org.example");
  EXPECT_EQ(e.code(), -2);
  EXPECT_EQ(e.localizedDescription(), "cannot parse");
  ASSERT_TRUE(e.underlyingError());
  EXPECT_EQ(e.underlyingError()->localizedDescription(), "bad digit");
  EXPECT_NE(e.description().find("bad digit"), std::string::npos);
}

TEST(Error, DefaultMessageAndEquality) {
  pf::Error bare("com.example", 7, pf::Value("not a dictionary"));
  EXPECT_TRUE(bare.userInfo().isDictionary());
  EXPECT_EQ(bare.localizedDescription(), "The operation couldn't be completed. (com.example error 7.)");
  EXPECT_EQ(bare, pf::Error("com.example", 7));
  EXPECT_NE(bare, pf::Error("com.example", 8));
  auto c1 = std::make_shared<const pf::Error>("x", 1);
  auto c2 = std::make_shared<const pf::Error>("x", 2);
  EXPECT_NE(pf::Error("d", 1, pf::Value::dictionary(), c1), pf::Error("d", 1, pf::Value::dictionary(), c2));
}
