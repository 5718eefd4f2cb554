// The application's signals as the sandbox reads them: texts sealed by the ad layer's own
// signals module, read by the sandbox's reader, which shares no code with it.
#include "SignalReader.h"

#include <gtest/gtest.h>

#include <array>
#include <climits>
#include <vector>

#include "sdk/encoding/GAD_DOZStringEncoding.h"
#include "sdk/signals/GADSignals.h"
#include "sdk/signals/GADSignalsCipher.h"

namespace {

GAD_DOZStringEncoding websafe() {
  auto e = GAD_DOZStringEncoding::rfc4648Base64WebsafeStringEncoding();
  e.setDoPad(false);
  return e;
}
std::string bytesOf(const std::string& text) { return websafe().decode(text).value_or(""); }
std::string textOf(const std::string& bytes) { return websafe().encode(bytes); }

class SignalReaderTest : public ::testing::Test {
 protected:
  SignalReaderTest() { gad_signals_reset(); }
  ~SignalReaderTest() override { gad_signals_reset(); }

  static std::string requestToken() {
    std::string text;
    EXPECT_TRUE(gad_gmrs(text));
    return text.substr(text.find('=') + 1);
  }
  static std::string clickToken(const std::string& ai) {
    std::string text;
    EXPECT_TRUE(gad_gmcs(ai, text));
    return text;
  }

  const std::string key_ = *SignalReader::keyFromHex(SignalReader::kDefaultKeyHex);
  SignalReader reader_{key_};
};

TEST_F(SignalReaderTest, ReadsWhatTheApplicationSealedWithTheDefaultKey) {
  const struct {
    int type;
    std::string version;
    std::vector<std::array<int, 3>> touches;
    std::string ai;  // empty: a request signal
  } cases[] = {
      {0, "", {}, ""},
      {4, "vize-sdk-i-v4.1.1", {{10, 20, 30}, {160, -25, 87}}, ""},
      {-7, std::string(300, 'v'), {{INT_MIN, INT_MAX, -1}}, "SBX7q2"},
      {5, "\xff\x01", {}, "AbC%2Fd" + std::string(1000, 'x')},
  };
  for (size_t i = 0; i < std::size(cases); ++i) {
    SCOPED_TRACE(i);
    const auto& c = cases[i];
    gad_signals_reset();
    gad_gig(c.type, c.version);
    for (const auto& t : c.touches) gad_htg(t[0], t[1], t[2]);
    auto reading = c.ai.empty() ? reader_.readRequestSignal(requestToken())
                                : reader_.readClickSignal(clickToken(c.ai), {"other", c.ai});
    ASSERT_TRUE(reading.record) << SignalReader::describe(reading.fault);
    const SignalRecord& r = *reading.record;
    EXPECT_EQ(r.kind, c.ai.empty() ? 'r' : 'c');
    EXPECT_EQ(r.session, gad_signals_state().session);
    EXPECT_EQ(r.sequence, 1u);
    EXPECT_EQ(r.requestType, c.type);
    EXPECT_EQ(r.sdkVersion, c.version.substr(0, 255));
    EXPECT_EQ(r.touches, c.touches.size());
    std::array<int, 3> last = c.touches.empty() ? std::array<int, 3>{} : c.touches.back();
    EXPECT_EQ((std::array<int, 3>{r.tx, r.ty, r.td}), last);
    EXPECT_EQ(r.ai, c.ai);
  }
}

TEST_F(SignalReaderTest, RefusesTextsThatAreNotGenuineOrNotForThisUse) {
  const std::string click = clickToken("SBX7q2");
  const std::string request = requestToken();
  const std::string bytes = bytesOf(click);
  ASSERT_GT(bytes.size(), 60u);
  auto flipped = [&](size_t at) {
    std::string b = bytes;
    b[at] ^= 0x10;
    return textOf(b);
  };
  // A text whose last symbol has bits that make no byte: a lenient decoder would read the
  // very bytes of a genuine signal from it.
  std::string loose;
  for (std::string ai = "a"; loose.empty(); ai += "a") {
    std::string t = clickToken(ai);
    if (bytesOf(t).size() % 3 != 0) loose = t.substr(0, t.size() - 1) + static_cast<char>(t.back() + 1);
  }
  const SignalReader otherKey(std::string(16, 'k'));
  const std::string nonce(12, 'n');

  const struct {
    const char* what;
    std::string text;
    const SignalReader* reader;
    bool asClick;
    SignalReader::Fault fault;
  } cases[] = {
      {"genuine", click, &reader_, true, SignalReader::Fault::None},
      {"format byte flipped", flipped(0), &reader_, true, SignalReader::Fault::UnknownFormat},
      {"key mark flipped", flipped(2), &reader_, true, SignalReader::Fault::WrongKey},
      {"nonce flipped", flipped(9), &reader_, true, SignalReader::Fault::Tampered},
      {"record flipped", flipped(30), &reader_, true, SignalReader::Fault::Tampered},
      {"tag flipped", flipped(bytes.size() - 1), &reader_, true, SignalReader::Fault::Tampered},
      {"last byte cut", textOf(bytes.substr(0, bytes.size() - 1)), &reader_, true, SignalReader::Fault::Tampered},
      {"cut to 32 bytes", textOf(bytes.substr(0, 32)), &reader_, true, SignalReader::Fault::TooShort},
      {"wrong key", click, &otherKey, true, SignalReader::Fault::WrongKey},
      {"padded", click + "=", &reader_, true, SignalReader::Fault::NotBase64},
      {"a blank inside", click.substr(0, 10) + " " + click.substr(10), &reader_, true, SignalReader::Fault::NotBase64},
      {"standard alphabet", "+/" + click.substr(2), &reader_, true, SignalReader::Fault::NotBase64},
      {"a lone last symbol", click.substr(0, 4 * (click.size() / 4)) + "A", &reader_, true,
       SignalReader::Fault::NotBase64},
      {"unused bits set", loose, &reader_, true, SignalReader::Fault::NotBase64},
      {"genuine, not a record", *GADSignalsCipher::sealWithNonce("hello", key_, nonce), &reader_, true,
       SignalReader::Fault::NotARecord},
      {"a request signal on a click", request, &reader_, true, SignalReader::Fault::WrongKind},
      {"a click signal on an ad request", click, &reader_, false, SignalReader::Fault::WrongKind},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    auto reading = c.asClick ? c.reader->readClickSignal(c.text, {"SBX7q2"}) : c.reader->readRequestSignal(c.text);
    EXPECT_EQ(reading.fault, c.fault) << SignalReader::describe(reading.fault);
    EXPECT_EQ(reading.record.has_value(), c.fault == SignalReader::Fault::None);
  }
  EXPECT_EQ(reader_.readClickSignal(click, {"SBX7q", "sbx7q2"}).fault, SignalReader::Fault::OtherClick);
}

}  // namespace
