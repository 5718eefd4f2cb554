// GADCachedFile over the real libsoup transport against a libsoup server on 127.0.0.1:
// revalidation, redirects, statuses, broken and binary bodies, the cache buster, and silence
// after cancel or once the owner let go. Every wait is bounded.
#include <glib.h>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>

#include "LoopbackServer.h"
#include "MainContextWait.h"
#include "RecordingFileDelegate.h"
#include "platform/base/FileManager.h"
#include "platform/gtk/DesktopPlatform.h"
#include "platform/net/HTTPSettings.h"
#include "platform/net/URLConnection.h"
#include "sdk/network/GADCachedFile.h"
#include "sdk/utility/GADNetworkUtilities.h"

using testing::ElementsAre;

namespace {

constexpr const char* kLastModified = "Thu, 01 Jan 2026 10:00:00 GMT";
constexpr double kWait = 10.0;  // seconds; loopback answers in milliseconds

class GADCachedFileIntegrationTest : public testing::Test {
 protected:
  void SetUp() override {
    gchar* dir = g_dir_make_tmp("ashenmoor-cachedfile-XXXXXX", nullptr);
    ASSERT_NE(dir, nullptr);
    root_ = dir;
    g_free(dir);
    files().setLocations(pf::FileLocations::under(root_));
    pf::HTTPSettings::reset();
    parts_ = pf::DesktopPlatform::install();
  }

  void TearDown() override {
    pf::DesktopPlatform::uninstall();
    parts_ = {};
    for (int i = 0; i < 1000 && g_main_context_pending(nullptr); ++i)
      g_main_context_iteration(nullptr, FALSE);
    pf::HTTPSettings::reset();
    GADNetworkUtilities::resetForTesting();
    files().removeItem(root_);
  }

  static pf::FileManager& files() { return pf::FileManager::defaultManager(); }

  std::shared_ptr<GADCachedFile> makeFile(const std::string& path) {
    return GADCachedFile::create(delegate, *pf::Url::parse(server.url(path)));
  }
  // validate() and wait until the delegate has heard one more end of a fetch.
  void fetch(GADCachedFile& file, bool cacheBuster = false) {
    size_t before = delegate->calls.size();
    auto ended = [&] {
      for (size_t i = before; i < delegate->calls.size(); ++i)
        if (delegate->calls[i] == "end" || delegate->calls[i].rfind("fail", 0) == 0) return true;
      return false;
    };
    cacheBuster ? file.validateWithCacheBuster() : file.validate();
    ASSERT_TRUE(runMainContextUntil(ended, kWait)) << "no end of the fetch of " << file.sourceURL().absoluteString();
  }

  std::string root_;
  pf::DesktopPlatform::Parts parts_;
  LoopbackServer server;
  std::shared_ptr<RecordingFileDelegate> delegate = std::make_shared<RecordingFileDelegate>();
};

// --- Revalidation ----------------------------------------------------------------------------

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

TEST_F(GADCachedFileIntegrationTest, CacheBusterReachesTheServerButTheFileStaysPut) {
  server.handle("/core.js", [](SoupServerMessage* m, const ServerRequest&) {
    LoopbackServer::reply(m, 200, "fresh");
  });
  auto busted = makeFile("/core.js");
  auto plain = makeFile("/core.js");
  fetch(*busted, /*cacheBuster=*/true);
  ASSERT_THAT(delegate->calls, ElementsAre("end"));
  ASSERT_EQ(server.requests().size(), 1u);
  const std::string& query = server.requests()[0].query;
  ASSERT_EQ(query.rfind("unique=", 0), 0u) << query;
  EXPECT_EQ(query.find_first_not_of("0123456789", 7), std::string::npos) << query;
  EXPECT_EQ(busted->filePath(), plain->filePath());
  EXPECT_EQ(plain->content(), "fresh");
}

// --- Redirects -------------------------------------------------------------------------------

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

TEST_F(GADCachedFileIntegrationTest, RefusedRedirectEndsTheFetchBeforeTheTargetIsAsked) {
  server.handle("/click", [](SoupServerMessage* m, const ServerRequest&) {
    LoopbackServer::reply(m, 302, "", {{"Location", "/landing"}});
  });
  server.handle("/landing", [](SoupServerMessage* m, const ServerRequest&) {
    LoopbackServer::reply(m, 200, "landing");
  });
  delegate->onRedirect = [](GADCachedFile&, const pf::Url&) -> std::optional<pf::Error> {
    return pf::Error("com.diziva.ads", 0);
  };
  auto file = makeFile("/click");
  fetch(*file);
  runMainContextFor(0.2);  // room for a wrongly followed redirect to show up
  EXPECT_THAT(delegate->calls, ElementsAre("redirect " + server.url("/landing"),
                                           "fail com.diziva.ads 0"));
  EXPECT_EQ(server.requestsFor("/landing"), 0u);
  EXPECT_FALSE(file->hasContent());
  EXPECT_EQ(pf::URLConnection::loadingCount(), 0u);
}

// --- Statuses and broken answers ---------------------------------------------------------------

TEST_F(GADCachedFileIntegrationTest, StatusesOtherThan200And304FailWithoutErrorAndWriteNothing) {
  for (int status : {204, 404, 500}) {
    std::string path = "/status" + std::to_string(status);
    server.handle(path, [status](SoupServerMessage* m, const ServerRequest&) {
      LoopbackServer::reply(m, status, "server says no");
    });
    delegate->calls.clear();
    auto file = makeFile(path);
    fetch(*file);
    EXPECT_THAT(delegate->calls, ElementsAre("fail none")) << status;
    EXPECT_EQ(file->httpStatusCode(), status);
    EXPECT_FALSE(file->hasContent()) << status;
  }
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

TEST_F(GADCachedFileIntegrationTest, BodyThatIsNotUTF8IsStoredWhole) {
  const std::string bytes("\xff\xfe\x00\x80z\xc3", 6);
  server.handle("/blob", [&bytes](SoupServerMessage* m, const ServerRequest&) {
    LoopbackServer::reply(m, 200, bytes, {{"Content-Type", "application/octet-stream"}});
  });
  auto file = makeFile("/blob");
  fetch(*file);
  EXPECT_THAT(delegate->calls, ElementsAre("end"));
  EXPECT_TRUE(file->hasContent());
  EXPECT_FALSE(file->content());
  EXPECT_EQ(files().readFile(*file->filePath()), bytes);
}

// --- Silence after cancel and after the owner -----------------------------------------------

TEST_F(GADCachedFileIntegrationTest, NothingArrivesAfterCancel) {
  server.handle("/slow", [this](SoupServerMessage* m, const ServerRequest&) {
    server.replyLater(m, 300, 200, "too late");
  });
  auto file = makeFile("/slow");
  file->validate();
  ASSERT_TRUE(runMainContextUntil([&] { return server.requestsFor("/slow") == 1; }, kWait));
  file->cancel();
  runMainContextFor(0.8);  // past the server's answer
  EXPECT_TRUE(delegate->calls.empty());
  EXPECT_FALSE(file->hasContent());
  EXPECT_EQ(pf::URLConnection::loadingCount(), 0u);
}

TEST_F(GADCachedFileIntegrationTest, NothingArrivesOnceTheOwnerLetGo) {
  server.handle("/slow", [this](SoupServerMessage* m, const ServerRequest&) {
    server.replyLater(m, 300, 200, "too late");
  });
  auto file = makeFile("/slow");
  std::weak_ptr<GADCachedFile> weak = file;
  file->validate();
  ASSERT_TRUE(runMainContextUntil([&] { return server.requestsFor("/slow") == 1; }, kWait));
  file.reset();
  EXPECT_TRUE(weak.expired());
  runMainContextFor(0.8);
  EXPECT_TRUE(delegate->calls.empty());
  EXPECT_FALSE(makeFile("/slow")->hasContent()) << "the late body is not written either";
  EXPECT_EQ(pf::URLConnection::loadingCount(), 0u);
}

}  // namespace
