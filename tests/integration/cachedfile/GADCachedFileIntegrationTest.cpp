// GADCachedFile over the real libsoup transport against a libsoup server on 127.0.0.1: one
// real revalidation, a 200 stored then a 304 from a real server. The status, redirect and
// failure rules are the unit suite's (GADCachedFileTest); how the transport reports a body
// cut short or a redirect is SoupURLTransportTest's. Every wait is bounded.
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

  // validate() and wait until the delegate has heard the end of the fetch.
  void fetch(GADCachedFile& file) {
    const size_t before = delegate->calls.size();
    file.validate();
    ASSERT_TRUE(runMainContextUntil([&] { return delegate->calls.size() > before; }, 10.0))
        << "no end of the fetch of " << file.sourceURL().absoluteString();
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
  auto file = GADCachedFile::create(delegate, *pf::Url::parse(server.url("/vize/sdk-core-v40.js")));
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
  EXPECT_EQ(server.requests()[0].headers.value("User-Agent"), "Ashenmoor-Test/1.0");
}

}  // namespace
