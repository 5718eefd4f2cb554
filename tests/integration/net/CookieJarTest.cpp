// Cookies on the desktop transport: stored from responses, sent back, kept in the jar file in
// the data folder, and left alone where the request or the process settings say so.
#include "DesktopNetTest.h"
#include "LoopbackServer.h"
#include "platform/base/FileManager.h"
#include "platform/net/HTTPSettings.h"

namespace {

class CookieJarTest : public DesktopNetTest {
 protected:
  void SetUp() override {
    server_.answer("/login", 200, "welcome",
                   {{"Set-Cookie", "sid=abc123; Max-Age=3600; Path=/"}, {"Set-Cookie", "visit=1; Path=/"}});
    server_.answer("/page", 200, "page");
  }

  std::optional<std::string> cookieSentWith(pf::URLRequest r) {
    load(r, std::make_shared<RecordingConnectionDelegate>());
    return server_.requests().back().headers.value("Cookie");
  }

  std::string jarText() const {
    return pf::FileManager::defaultManager().readFile(parts_.transport->cookieJarPath()).value_or("");
  }

  LoopbackServer server_;
};

TEST_F(CookieJarTest, CookiesSetByTheServerGoBackAndOnlyTheLastingOnesOutliveTheProcess) {
  EXPECT_EQ(parts_.transport->cookieJarPath(),
            pf::FileManager::defaultManager().locations().data + "/cookies.txt");
  EXPECT_EQ(cookieSentWith(request(server_.url("/login"))), std::nullopt);
  auto cookie = cookieSentWith(request(server_.url("/page")));
  ASSERT_TRUE(cookie);
  EXPECT_NE(cookie->find("sid=abc123"), std::string::npos) << *cookie;
  EXPECT_NE(cookie->find("visit=1"), std::string::npos) << *cookie;

  const std::string jar = jarText();
  EXPECT_NE(jar.find("sid\tabc123"), std::string::npos) << jar;
  EXPECT_EQ(jar.find("visit"), std::string::npos) << "a session cookie is not written out";
  // As a restarted application: a fresh transport over the same jar file.
  pf::DesktopPlatform::uninstall();
  parts_ = pf::DesktopPlatform::install();
  EXPECT_EQ(cookieSentWith(request(server_.url("/page"))), "sid=abc123");
}

TEST_F(CookieJarTest, ARequestThatDoesNotHandleCookiesNeitherSendsNorStoresThem) {
  auto quiet = request(server_.url("/login"));
  quiet.setHTTPShouldHandleCookies(false);
  load(quiet, std::make_shared<RecordingConnectionDelegate>());
  EXPECT_EQ(cookieSentWith(request(server_.url("/page"))), std::nullopt) << "stored anyway";

  load(request(server_.url("/login")), std::make_shared<RecordingConnectionDelegate>());
  auto quietPage = request(server_.url("/page"));
  quietPage.setHTTPShouldHandleCookies(false);
  EXPECT_EQ(cookieSentWith(quietPage), std::nullopt) << "sent anyway";
}

TEST_F(CookieJarTest, CookiesDisabledForTheProcessAreNeitherSentNorStored) {
  pf::HTTPSettings::setCookiesEnabled(false);
  load(request(server_.url("/login")), std::make_shared<RecordingConnectionDelegate>());
  pf::HTTPSettings::setCookiesEnabled(true);
  EXPECT_EQ(cookieSentWith(request(server_.url("/page"))), std::nullopt);
  EXPECT_EQ(jarText().find("sid"), std::string::npos);
}

TEST_F(CookieJarTest, ACookieHeaderTheRequestSetsItselfIsSentAsGiven) {
  load(request(server_.url("/login")), std::make_shared<RecordingConnectionDelegate>());
  auto r = request(server_.url("/page"));
  r.setValueForHTTPHeaderField("mine=1", "Cookie");
  EXPECT_EQ(cookieSentWith(r), "mine=1");
}

}  // namespace
