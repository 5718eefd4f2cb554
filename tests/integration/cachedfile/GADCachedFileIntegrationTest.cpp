// GADCachedFile over the real libsoup transport against a libsoup server on 127.0.0.1: what
// only real HTTP shows — a 304 from a real server, a body cut short, a real redirect chain.
// The status and redirect rules themselves are the unit suite's. Every wait is bounded.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "DesktopNetTest.h"
#include "LoopbackServer.h"
#include "RecordingFileDelegate.h"
#include "sdk/network/GADCachedFile.h"
#include "sdk/utility/GADNetworkUtilities.h"

using testing::ElementsAre;

namespace {

constexpr const char* kLastModified = "Thu, 01 Jan 2026 10:00:00 GMT";

class GADCachedFileIntegrationTest : public DesktopNetTest {
 protected:
  ~GADCachedFileIntegrationTest() override { GADNetworkUtilities::resetForTesting(); }

  std::shared_ptr<GADCachedFile> makeFile(const std::string& path) {
    return GADCachedFile::create(delegate, *pf::Url::parse(server.url(path)));
  }
  // validate() and wait until the delegate has heard one more end of a fetch.
  void fetch(GADCachedFile& file) {
    size_t before = delegate->calls.size();
    auto ended = [&] {
      for (size_t i = before; i < delegate->calls.size(); ++i)
        if (delegate->calls[i] == "end" || delegate->calls[i].rfind("fail", 0) == 0) return true;
      return false;
    };
    file.validate();
    ASSERT_TRUE(runMainContextUntil(ended, 10.0)) << "no end of the fetch of " << file.sourceURL().absoluteString();
  }

  LoopbackServer server;
  std::shared_ptr<RecordingFileDelegate> delegate = std::make_shared<RecordingFileDelegate>();
};

TEST_F(GADCachedFileIntegrationTest, SecondFetchRevalidatesWithLastModifiedAndA304KeepsTheFile) {
  server.handle("/vize/sdk-core-v40.js", [](SoupServerMessage* m, const ServerRequest& r) {
    if (r.headers.value("If-Modified-Since") == kLastModified)
      LoopbackServer::reply(m, 304);
    else
      LoopbackServer::reply(m, 200, "var core = 1;", {{"Last-Modified", kLastModified}});
  });
  GADNetworkUtilities::setUserAgentString("Ashenmoor-Test/1.0");
  auto file = makeFile("/vize/sdk-core-v40.js");
  fetch(*file);
  ASSERT_THAT(delegate->calls, ElementsAre("end"));
  EXPECT_EQ(file->httpStatusCode(), 200);
  EXPECT_EQ(file->content(), "var core = 1;");
  EXPECT_EQ(file->fileModificationDate(), "Thu, 01 Jan 2026 10:00:00");

  fetch(*file);
  EXPECT_THAT(delegate->calls, ElementsAre("end", "end"));
  EXPECT_EQ(file->httpStatusCode(), 304);
  EXPECT_EQ(file->content(), "var core = 1;");
  ASSERT_EQ(server.requests().size(), 2u);
  EXPECT_FALSE(server.requests()[0].headers.value("If-Modified-Since"));
  EXPECT_EQ(server.requests()[1].headers.value("If-Modified-Since"), kLastModified);
  EXPECT_EQ(server.requests()[0].headers.value("User-Agent"), "Ashenmoor-Test/1.0");
}

TEST_F(GADCachedFileIntegrationTest, RedirectChainIsFollowedWithEachHopOffered) {
  server.handle("/ad", [this](SoupServerMessage* m, const ServerRequest&) {
    LoopbackServer::reply(m, 302, "", {{"Location", "/ad2"}, {"X-Vize-Tracking-Urls", server.url("/t")}});
  });
  server.handle("/ad2", [](SoupServerMessage* m, const ServerRequest&) {
    LoopbackServer::reply(m, 307, "", {{"Location", "/creative"}});
  });
  server.handle("/creative", [](SoupServerMessage* m, const ServerRequest&) {
    LoopbackServer::reply(m, 200, "<html>ad</html>", {{"Content-Type", "text/html"}});
  });
  std::vector<std::string> tracking;
  delegate->onRedirect = [&](GADCachedFile& f, const pf::Url&) -> std::optional<pf::Error> {
    tracking.push_back(f.httpHeaders().value("X-Vize-Tracking-Urls").value_or("-"));
    return std::nullopt;
  };
  auto file = makeFile("/ad");
  fetch(*file);
  EXPECT_THAT(delegate->calls, ElementsAre("redirect " + server.url("/ad2"),
                                           "redirect " + server.url("/creative"), "end"));
  EXPECT_THAT(tracking, ElementsAre(server.url("/t"), "-"));
  EXPECT_EQ(file->httpDestinationURL().absoluteString(), server.url("/creative"));
  EXPECT_EQ(file->content(), "<html>ad</html>");
}

TEST_F(GADCachedFileIntegrationTest, ConnectionClosedMidBodyFailsAndTheOldFileStays) {
  bool cut = false;
  server.handle("/core.js", [&cut](SoupServerMessage* m, const ServerRequest&) {
    if (!cut)
      return LoopbackServer::reply(m, 200, "old", {{"Last-Modified", kLastModified}});
    LoopbackServer::replyRawAndClose(
        m, "HTTP/1.1 200 OK\r\nContent-Length: 1000\r\nContent-Type: text/plain\r\n\r\npartial");
  });
  auto file = makeFile("/core.js");
  fetch(*file);
  ASSERT_THAT(delegate->calls, ElementsAre("end"));

  cut = true;
  fetch(*file);
  ASSERT_EQ(delegate->calls.size(), 2u);
  EXPECT_EQ(delegate->calls[1].rfind("fail NSURLErrorDomain ", 0), 0u) << delegate->calls[1];
  EXPECT_EQ(file->content(), "old");
  EXPECT_EQ(file->fileModificationDate(), "Thu, 01 Jan 2026 10:00:00");
}

}  // namespace
