#include "sdk/signals/GADSignals.h"

#include <sys/wait.h>
#include <unistd.h>

#include <regex>
#include <set>

#include "LogCapture.h"
#include "ScopedEnvironment.h"
#include "StatisticsTestSupport.h"
#include "sdk/signals/GADSignalsCipher.h"
#include "sdk/utility/GADConfiguration.h"

namespace {

using GADSignalsTest = StatisticsTest;

const std::string kDefaultKey = *GADConfiguration::keyFromHex(GADConfiguration::kDefaultSignalsKeyHex);

GADSignalsRecord opened(const std::string& token, const std::string& key = kDefaultKey) {
  auto o = GADSignalsCipher::open(token, key);
  EXPECT_TRUE(o.record) << token << ": " << GADSignalsCipher::describe(o.failure);
  return o.record.value_or(GADSignalsRecord{});
}

std::string requestToken() {
  std::string text;
  EXPECT_TRUE(gad_gmrs(text));
  std::smatch m;
  EXPECT_TRUE(std::regex_match(text, m, std::regex("ms=([A-Za-z0-9_-]+)"))) << text;
  return m[1];
}

TEST_F(GADSignalsTest, TokensCarryWhatTheModuleWasToldInOneSession) {
  GADSignalsRecord first = opened(requestToken());
  EXPECT_EQ(first.kind, GADSignalsRecord::Kind::Request);
  EXPECT_EQ(first.sequence, 1u);
  EXPECT_EQ(first.sdkVersion, "");
  EXPECT_EQ(first.touchCount, 0u);

  gad_gig(4, "vize-sdk-i-v4.1.1");
  gad_htg(10, 20, 30);
  gad_htg(160, -25, 87);
  GADSignalsRecord request = opened(requestToken());
  std::string click;
  ASSERT_TRUE(gad_gmcs("AbC%2Fd", click));
  EXPECT_TRUE(std::regex_match(click, std::regex("[A-Za-z0-9_-]+"))) << click;
  GADSignalsRecord clicked = opened(click);

  for (const GADSignalsRecord* r : {&request, &clicked}) {
    SCOPED_TRACE(static_cast<char>(r->kind));
    EXPECT_EQ(r->session, first.session);
    EXPECT_EQ(r->requestType, 4);
    EXPECT_EQ(r->sdkVersion, "vize-sdk-i-v4.1.1");
    EXPECT_EQ(r->touchCount, 2u);
    EXPECT_EQ(std::tie(r->touchX, r->touchY, r->touchDuration), std::make_tuple(160, -25, 87));
  }
  EXPECT_EQ(request.sequence, 2u);
  EXPECT_EQ(clicked.sequence, 3u);
  EXPECT_EQ(clicked.kind, GADSignalsRecord::Kind::Click);
  EXPECT_EQ(clicked.ai, "AbC%2Fd");  // as it stood in the URL

  // A new process (here: a reset) draws a new random session and counts from 1 again.
  gad_signals_reset();
  GADSignalsRecord later = opened(requestToken());
  EXPECT_NE(later.session, first.session);
  EXPECT_EQ(later.sequence, 1u);
}

// A fresh nonce each time: one record sealed again and again never gives the same text, over
// several batches of random bytes, nor in a forked child that inherited its parent's batch.
TEST_F(GADSignalsTest, SealingOneRecordAgainGivesAnotherText) {
  GADSignalsRecord r;
  r.kind = GADSignalsRecord::Kind::Click;
  r.ai = "SBX7q2";
  std::set<std::string> texts;
  for (int i = 0; i < 200; ++i) texts.insert(GADSignalsCipher::seal(r, kDefaultKey).value_or(""));
  EXPECT_EQ(texts.size(), 200u);
  EXPECT_EQ(opened(*texts.begin()), r);

  int pipeEnds[2];
  ASSERT_EQ(pipe(pipeEnds), 0);
  pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    std::string text = GADSignalsCipher::seal(r, kDefaultKey).value_or("");
    _exit(write(pipeEnds[1], text.data(), text.size()) == ssize_t(text.size()) ? 0 : 1);
  }
  close(pipeEnds[1]);
  std::string fromChild(512, '\0');
  ssize_t n = read(pipeEnds[0], fromChild.data(), fromChild.size());
  close(pipeEnds[0]);
  int status = 0;
  waitpid(child, &status, 0);
  ASSERT_GT(n, 0);
  fromChild.resize(size_t(n));
  EXPECT_EQ(opened(fromChild), r);
  EXPECT_NE(fromChild, GADSignalsCipher::seal(r, kDefaultKey).value_or("")) << "the child took its parent's next nonce";
}

TEST_F(GADSignalsTest, TheRecordLayoutRefusesWhatItCannotHold) {
  GADSignalsRecord request;
  request.sdkVersion = std::string(300, 'v');
  auto bytes = request.bytes();
  ASSERT_TRUE(bytes);
  EXPECT_EQ(GADSignalsRecord::fromBytes(*bytes)->sdkVersion, std::string(255, 'v'));  // cut, not refused
  EXPECT_FALSE(GADSignalsRecord::fromBytes(*bytes + "x")) << "a byte left over";
  EXPECT_FALSE(GADSignalsRecord::fromBytes(bytes->substr(0, bytes->size() - 1)));

  const struct {
    GADSignalsRecord::Kind kind;
    size_t aiSize;
    size_t sessionSize;
    bool fits;
  } cases[] = {
      {GADSignalsRecord::Kind::Click, 65535, 8, true},   {GADSignalsRecord::Kind::Click, 65536, 8, false},
      {GADSignalsRecord::Kind::Request, 1, 8, false},    {GADSignalsRecord::Kind::Request, 0, 7, false},
  };
  for (size_t i = 0; i < std::size(cases); ++i) {
    SCOPED_TRACE(i);
    GADSignalsRecord r;
    r.kind = cases[i].kind;
    r.ai = std::string(cases[i].aiSize, 'a');
    r.session = std::string(cases[i].sessionSize, 's');
    EXPECT_EQ(r.bytes().has_value(), cases[i].fits);
  }
  std::string text = "left over";
  EXPECT_FALSE(gad_gmcs("", text));
  EXPECT_EQ(text, "");
  EXPECT_FALSE(gad_gmcs(std::string(65536, 'a'), text));
}

TEST_F(GADSignalsTest, TheConfiguredKeySealsAndAMistypedOneSendsNothing) {
  {
    ScopedEnvironment key("ASHENMOOR_SIGNALS_KEY", "00112233445566778899AABBCCDDEEFF");
    std::string token = requestToken();
    opened(token, *GADConfiguration::keyFromHex("00112233445566778899aabbccddeeff"));
    EXPECT_EQ(GADSignalsCipher::open(token, kDefaultKey).failure, GADSignalsCipher::Failure::WrongKey);
  }
  for (const char* bad : {"xyz", "00112233445566778899AABBCCDDEEF", "00112233445566778899AABBCCDDEEFF0",
                          "00112233445566778899AABBCCDDEEFG"}) {
    SCOPED_TRACE(bad);
    gad_signals_reset();
    ScopedEnvironment key("ASHENMOOR_SIGNALS_KEY", bad);
    LogCapture log;
    std::string text = "left over";
    EXPECT_FALSE(gad_gmrs(text));
    EXPECT_EQ(text, "");
    EXPECT_FALSE(gad_gmcs("SBX7q2", text));
    EXPECT_FALSE(gad_gmrs(text));
    EXPECT_EQ(log.countEndingWith("<Diziva> ASHENMOOR_SIGNALS_KEY is not 32 hexadecimal digits; ad signals are not sent"),
              1u);
    EXPECT_EQ(log.lines.size(), 1u);
  }
}

}  // namespace
