#include "platform/base/Error.h"

#include <gtest/gtest.h>

TEST(Error, DefaultMessageEqualityAndCause) {
  pf::Error bare("com.example", 7, pf::Value("not a dictionary"));
  EXPECT_TRUE(bare.userInfo().isDictionary());
  EXPECT_EQ(bare.localizedDescription(), "The operation couldn't be completed. (com.example error 7.)");
  EXPECT_EQ(bare, pf::Error("com.example", 7));
  EXPECT_NE(bare, pf::Error("com.example", 8));
  auto c1 = std::make_shared<const pf::Error>("x", 1);
  auto c2 = std::make_shared<const pf::Error>(pf::Error::withDescription("x", 2, "bad digit"));
  EXPECT_NE(pf::Error("d", 1, pf::Value::dictionary(), c1), pf::Error("d", 1, pf::Value::dictionary(), c2));
  // The description shows the cause.
  EXPECT_NE(pf::Error::withDescription("d", 1, "cannot parse", c2).description().find("bad digit"), std::string::npos);
}
