#include "sdk/signals/GADSignals.h"

#include <regex>

#include "StatisticsTestSupport.h"
#include "platform/base/Crypto.h"
#include "sdk/encoding/GAD_DOZStringEncoding.h"

namespace {

using GADSignalsTest = StatisticsTest;

std::string decode(const std::string& token) {
  auto encoding = GAD_DOZStringEncoding::rfc4648Base64WebsafeStringEncoding();
  encoding.setDoPad(false);
  auto bytes = encoding.decode(token);
  EXPECT_TRUE(bytes) << token;
  return bytes.value_or("");
}

TEST_F(GADSignalsTest, TheRequestSignalIsOneNameAndAValueWithoutEqualsSigns) {
  std::string text;
  ASSERT_TRUE(gad_gmrs(text));
  std::smatch m;
  ASSERT_TRUE(std::regex_match(text, m, std::regex("ms=([A-Za-z0-9_-]+)"))) << text;
  std::string record = decode(m[1]);
  ASSERT_EQ(record.size(), 9u);
  EXPECT_EQ(record[0], 1);
  EXPECT_EQ(record[1], 'r');
}

TEST_F(GADSignalsTest, RecordsCarryTheRequestTypeTouchesAndSession) {
  gad_gig(4, "vize-sdk-i-v4.1.1");
  for (int i = 0; i < 300; ++i) gad_htg(10, 20, -1);
  std::string text;
  gad_gmrs(text);
  std::string record = decode(text.substr(3));
  EXPECT_EQ(static_cast<unsigned char>(record[2]), 4);
  EXPECT_EQ((static_cast<unsigned char>(record[3]) << 8) | static_cast<unsigned char>(record[4]), 300);
  uint32_t session = 0;
  for (int i = 5; i < 9; ++i) session = session << 8 | static_cast<unsigned char>(record[i]);
  EXPECT_EQ(session, static_cast<uint32_t>(pf::SimClock::kStartNow));
  gad_gig(999, "");  // out of range: no type
  EXPECT_EQ(gad_signals_state().requestType, 0);
}

TEST_F(GADSignalsTest, TheClickTokenIsBoundToItsAi) {
  std::string a, b, none = "left over";
  ASSERT_TRUE(gad_gmcs("ABC", a));
  ASSERT_TRUE(gad_gmcs("ABD", b));
  EXPECT_NE(a, b);
  EXPECT_TRUE(std::regex_match(a, std::regex("[A-Za-z0-9_-]+"))) << a;
  std::string record = decode(a);
  ASSERT_EQ(record.size(), 13u);
  EXPECT_EQ(record[1], 'c');
  EXPECT_EQ(record.substr(9), pf::Crypto::md5("ABC").substr(0, 4));
  EXPECT_FALSE(gad_gmcs("", none));
  EXPECT_EQ(none, "");
}

TEST_F(GADSignalsTest, TouchCountStopsAtItsLargestValue) {
  for (int i = 0; i < 70000; ++i) gad_htg(0, 0, 0);
  EXPECT_EQ(gad_signals_state().touchCount, 65535);
}

}  // namespace
