// The sandbox started with a signals key of its own, as an ad server holding another key
// than the application's compiled one: the application's request signals, sent over HTTP,
// are read with that key only.
#include <gtest/gtest.h>

#include "DesktopNetTest.h"
#include "SandboxProcess.h"
#include "ScopedEnvironment.h"
#include "sdk/encoding/GAD_SBJSON.h"
#include "sdk/signals/GADSignals.h"

namespace {

constexpr const char* kKeyHex = "00112233445566778899aabbccddeeff";

class SandboxSignalsKeyTest : public DesktopNetTest {
 protected:
  SandboxSignalsKeyTest() { gad_signals_reset(); }
  ~SandboxSignalsKeyTest() override { gad_signals_reset(); }
  void SetUp() override { ASSERT_TRUE(sandbox_.ready()) << "the sandbox printed no ready line"; }

  SandboxProcess sandbox_{std::string("--signals-key ") + kKeyHex};
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

  auto stats = GAD_SBJSON().objectWithStringError(fetch(sandbox_.ad() + "/stats.json").body).value_or(pf::Value());
  EXPECT_EQ(stats["signals"]["valid"], pf::Value(1));
  EXPECT_EQ(stats["signals"]["invalid"], pf::Value(1));
  const pf::Value& newest = stats["last_requests"][size_t{0}];
  EXPECT_EQ(newest["signal"]["reason"], pf::Value("wrong key"));
  const pf::Value& read = stats["last_requests"][size_t{1}]["signal"]["record"];
  EXPECT_EQ(read["kind"], pf::Value("request"));
  EXPECT_EQ(read["sequence"], pf::Value(1));
  EXPECT_EQ(read["request_type"], pf::Value(4));
  EXPECT_EQ(read["sdk_version"], pf::Value("vize-sdk-i-v4.1.1"));
}

}  // namespace
