// The sandbox started with a signals key of its own, as an ad server holding another key
// than the application's compiled one: the application's request signals, sent over HTTP,
// are read with that key only.
#include <gtest/gtest.h>

#include "SandboxNetTest.h"
#include "ScopedEnvironment.h"
#include "sdk/signals/GADSignals.h"

namespace {

constexpr const char* kKeyHex = "00112233445566778899aabbccddeeff";

class SandboxSignalsKeyTest : public SandboxNetTest {
 protected:
  SandboxSignalsKeyTest() : SandboxNetTest(std::string("--signals-key ") + kKeyHex) { gad_signals_reset(); }
  ~SandboxSignalsKeyTest() override { gad_signals_reset(); }
};

TEST_F(SandboxSignalsKeyTest, SignalsAreReadWithTheSandboxsKeyOnly) {
  std::string own, compiled;
  {
    ScopedEnvironment key("ASHENMOOR_SIGNALS_KEY", kKeyHex);
    gad_gig(4, "vize-sdk-i-v4.1.1");
    ASSERT_TRUE(gad_gmrs(own));
  }
  ASSERT_TRUE(gad_gmrs(compiled));
  for (const std::string& ms : {own, compiled}) {
    EXPECT_EQ(fetch(sandbox_.ad() + "/ad?slotname=a15c0f3e82d9b47&creative=link&" + ms).status, 200);
  }

  const pf::Value s = stats();
  EXPECT_EQ(s["signals"]["valid"], pf::Value(1));
  EXPECT_EQ(s["signals"]["invalid"], pf::Value(1));
  EXPECT_EQ(s["last_requests"][size_t{0}]["signal"]["reason"], pf::Value("wrong key"));
  const pf::Value& read = s["last_requests"][size_t{1}]["signal"]["record"];
  EXPECT_EQ(read["kind"], pf::Value("request"));
  EXPECT_EQ(read["sequence"], pf::Value(1));
  EXPECT_EQ(read["request_type"], pf::Value(4));
  EXPECT_EQ(read["sdk_version"], pf::Value("vize-sdk-i-v4.1.1"));
}

}  // namespace
