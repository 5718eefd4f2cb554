// GADCachedFile on the sim backend: where files go, the status rules, revalidation and file
// times, the cache buster, redirects under the delegate's control, and lifetimes.
#include "sdk/network/GADCachedFile.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cerrno>
#include <cstdlib>
#include <ctime>

#include "AdLayerTest.h"
#include "RecordingFileDelegate.h"
#include "platform/base/Clock.h"
#include "platform/base/FileManager.h"
#include "platform/net/URLError.h"

using pf::SimResponse;
using pf::URLError;
using testing::ElementsAre;

namespace {

constexpr const char* kScript = "http://static.example/vize/sdk-core-v40.js";
constexpr const char* kLastModified = "Thu, 01 Jan 2026 10:00:00 GMT";
constexpr double kLastModified1970 = 1767261600;

class GADCachedFileTest : public AdLayerTest {
 protected:
  static pf::FileManager& files() { return pf::FileManager::defaultManager(); }
  std::string caches() const { return sim.locations().caches; }
  std::shared_ptr<GADCachedFile> makeFile(const char* text) {
    return GADCachedFile::create(delegate, *pf::Url::parse(text));
  }
  double modificationTime1970(const GADCachedFile& file) {
    return pf::Clock::to1970(*files().modificationDate(*file.filePath()));
  }
  void fetch(GADCachedFile& file) {
    file.validate();
    clock.runUntilIdle();
  }
  // A new file for `kScript`, fetched once with `response`.
  std::shared_ptr<GADCachedFile> fetchedScript(SimResponse response) {
    server.respondOnce(kScript, std::move(response));
    auto file = makeFile(kScript);
    fetch(*file);
    return file;
  }
  // A new file for `kScript` half-way through fetching: `response` comes one second after.
  std::shared_ptr<GADCachedFile> fetchingScript(SimResponse response) {
    server.respondOnce(kScript, response.after(1.0));
    auto file = makeFile(kScript);
    file->validate();
    clock.advance(0.5);
    return file;
  }

  pf::SimClock& clock = sim.clock();
  pf::SimURLTransport& server = sim.http();
  std::shared_ptr<RecordingFileDelegate> delegate = std::make_shared<RecordingFileDelegate>();
};


TEST_F(GADCachedFileTest, FileNameIsAStableHashInLowerCaseHexUnderTheHostFolder) {
  // FNV-1a's published values: the name must not change between releases.
  EXPECT_EQ(GADCachedFile::stableHash(""), 0x811c9dc5u);
  EXPECT_EQ(GADCachedFile::stableHash("a"), 0xe40c292cu);
  EXPECT_EQ(GADCachedFile::stableHash("foobar"), 0xbf9cf968u);

  auto path = makeFile(kScript)->filePath();
  ASSERT_TRUE(path);
  std::string folder = caches() + "/static.example/";
  ASSERT_EQ(path->substr(0, folder.size()), folder);
  std::string name = path->substr(folder.size());
  EXPECT_NE(name[0], '0');
  EXPECT_EQ(name.find_first_not_of("0123456789abcdef"), std::string::npos) << name;
  EXPECT_EQ(std::strtoul(name.c_str(), nullptr, 16), GADCachedFile::stableHash(kScript));
}

TEST_F(GADCachedFileTest, SameURLSharesOneFileAndOtherURLsDoNot) {
  auto a = makeFile(kScript);
  auto b = makeFile(kScript);
  auto c = makeFile("http://static.example/vize/sdk-core-v41.js");
  EXPECT_EQ(a->filePath(), b->filePath());
  EXPECT_NE(a->filePath(), c->filePath());

  server.respond(kScript, SimResponse::ok("shared"));
  fetch(*a);
  EXPECT_EQ(b->content(), "shared") << "a second object finds the first one's download";
  EXPECT_FALSE(c->hasContent());
}

TEST_F(GADCachedFileTest, HostsThatAreNoFolderNameStayInsideTheCaches) {
  for (const char* text : {"http://../x", "http://./x", "relative/path", "/absolute/path"}) {
    auto path = makeFile(text)->filePath();
    ASSERT_TRUE(path) << text;
    EXPECT_EQ(pf::FileManager::directoryOf(*path), caches() + "/" + GADCachedFile::kNoHostFolder)
        << text;
  }
}

TEST_F(GADCachedFileTest, WithoutCachesFolderThereIsNoPathUntilOneAppears) {
  pf::FileLocations locations = files().locations();
  pf::FileLocations none = locations;
  none.caches.clear();
  files().setLocations(none);
  auto file = makeFile(kScript);
  EXPECT_FALSE(file->filePath());
  EXPECT_FALSE(file->hasContent());
  EXPECT_FALSE(file->content());

  // A download then has nowhere to go: a failure, not a success.
  server.respond(kScript, SimResponse::ok("body"));
  fetch(*file);
  EXPECT_THAT(delegate->calls, ElementsAre("fail NSPOSIXErrorDomain " + std::to_string(ENOENT)));

  files().setLocations(locations);
  ASSERT_TRUE(file->filePath());
  EXPECT_EQ(pf::FileManager::directoryOf(*file->filePath()), caches() + "/static.example");
}


TEST_F(GADCachedFileTest, FirstFetchIsUnconditionalAndStoresTheBody) {
  GADNetworkUtilities::setUserAgentString("Ashenmoor/1.0");
  server.respond(kScript, SimResponse::ok("var core;").header("X-Vize-Refresh-Rate", "30"));
  auto file = makeFile(kScript);
  EXPECT_EQ(file->httpDestinationURL().absoluteString(), kScript);
  file->validate();
  EXPECT_TRUE(file->isFetching());
  EXPECT_TRUE(delegate->calls.empty()) << "nothing from inside validate()";
  clock.runUntilIdle();

  EXPECT_THAT(delegate->calls, ElementsAre("end"));
  EXPECT_FALSE(file->isFetching());
  EXPECT_EQ(file->httpStatusCode(), 200);
  EXPECT_EQ(file->httpHeaders().value("x-vize-refresh-rate"), "30");
  EXPECT_EQ(file->content(), "var core;");
  ASSERT_EQ(server.requests().size(), 1u);
  const pf::URLRequest& sent = server.requests()[0];
  EXPECT_FALSE(sent.valueForHTTPHeaderField("If-Modified-Since"));
  EXPECT_EQ(sent.valueForHTTPHeaderField("User-Agent"), "Ashenmoor/1.0");
  EXPECT_EQ(sent.cachePolicy(), pf::URLRequestCachePolicy::ReloadIgnoringLocalCacheData);
  EXPECT_TRUE(sent.httpShouldHandleCookies());
}

TEST_F(GADCachedFileTest, WithoutTransportTheFetchFailsAtOnceWithoutError) {
  pf::URLTransport::install(nullptr);
  auto file = makeFile(kScript);
  file->validate();
  EXPECT_THAT(delegate->calls, ElementsAre("fail none"));
  EXPECT_FALSE(file->isFetching());
}


// The delegate already sees the stored time in its end callback, and may fetch again from it.
TEST_F(GADCachedFileTest, FileTimeMirrorsLastModifiedAndTheNextFetchAsksIfModifiedSince) {
  auto file = makeFile(kScript);
  server.respondOnce(kScript, SimResponse::ok("v1").header("Last-Modified", kLastModified));
  server.respondOnce(kScript, SimResponse::withStatus(304));
  std::optional<std::string> seen;
  delegate->onEnd = [&](GADCachedFile& f) {
    if (seen) return;
    seen = f.fileModificationDate();
    EXPECT_EQ(modificationTime1970(f), kLastModified1970);
    EXPECT_EQ(pf::Clock::to1970(*files().accessDate(*f.filePath())), kLastModified1970);
    f.validate();
  };
  fetch(*file);
  EXPECT_EQ(seen, "Thu, 01 Jan 2026 10:00:00");
  ASSERT_EQ(server.requests().size(), 2u);
  EXPECT_EQ(server.requests()[1].valueForHTTPHeaderField("If-Modified-Since"), kLastModified);
  EXPECT_THAT(delegate->calls, ElementsAre("end", "end"));
  EXPECT_EQ(file->httpStatusCode(), 304);
  EXPECT_EQ(file->content(), "v1") << "a 304 leaves the file alone";
  EXPECT_EQ(modificationTime1970(*file), kLastModified1970);
}

TEST_F(GADCachedFileTest, TheFileTimeIsTheLastModifiedOfEach200OrTheWriteTime) {
  const double now = static_cast<double>(std::time(nullptr));  // the disk's clock, not the sim's
  static const struct {
    const char* lastModified;
    double time1970;
  } kCases[] = {
      {"Mon, 15 Jun 2020 12:34:56 GMT", 1592224496},
      {"Sun Nov  6 08:49:37 1994", 784111777},  // without "GMT": read whole
      {"yesterday", now},                       // unreadable: the write time stays
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.lastModified);
    auto file = fetchedScript(SimResponse::ok("x").header("Last-Modified", kLastModified));
    server.respondOnce(kScript, SimResponse::ok("v2").header("Last-Modified", c.lastModified));
    fetch(*file);
    EXPECT_EQ(file->content(), "v2");
    EXPECT_NEAR(modificationTime1970(*file), c.time1970, 120.0);
  }
}


// Statuses other than 200 and 304 fail without an error, a failed connection with its error;
// either way the file and its time stay as they were.
TEST_F(GADCachedFileTest, FailuresKeepTheFileAndTheStatusOfTheLastResponse) {
  auto file = fetchedScript(SimResponse::ok("kept").header("Last-Modified", kLastModified));
  const struct {
    SimResponse response;
    const char* call;
    int status;
  } cases[] = {
      {SimResponse::withStatus(204, "error page"), "fail none", 204},
      {SimResponse::withStatus(302, "error page"), "fail none", 302},
      {SimResponse::withStatus(500, "error page"), "fail none", 500},
      {SimResponse::ok("").chunked({"ne", "w"}).losingConnectionAfter(1), "fail NSURLErrorDomain -1005", 200},
      {SimResponse::failure(URLError::CannotFindHost), "fail NSURLErrorDomain -1003", 200},  // no new response
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.call + std::to_string(c.status));
    delegate->calls.clear();
    server.respondOnce(kScript, c.response);
    fetch(*file);
    EXPECT_THAT(delegate->calls, ElementsAre(c.call));
    EXPECT_EQ(file->httpStatusCode(), c.status);
    EXPECT_EQ(file->content(), "kept");
    EXPECT_EQ(modificationTime1970(*file), kLastModified1970);
    EXPECT_FALSE(file->isFetching());
  }
}

TEST_F(GADCachedFileTest, BodyThatIsNotUTF8IsStoredButHasNoText) {
  auto file = fetchedScript(SimResponse::ok(std::string("\xff\xfe\x00z", 4), "application/octet-stream"));
  EXPECT_THAT(delegate->calls, ElementsAre("end"));
  EXPECT_TRUE(file->hasContent());
  EXPECT_FALSE(file->content());
  EXPECT_EQ(files().readFile(*file->filePath()), std::string("\xff\xfe\x00z", 4));
}

TEST_F(GADCachedFileTest, WriteFailureIsReportedAsFailureNotSuccess) {
  // A plain file where the host folder belongs: the folder cannot be made, as root too.
  ASSERT_TRUE(files().createDirectory(caches(), true));
  ASSERT_TRUE(files().writeFileAtomically(caches() + "/static.example", "in the way"));
  auto file = fetchedScript(SimResponse::ok("body"));
  ASSERT_EQ(delegate->calls.size(), 1u);
  EXPECT_EQ(delegate->calls[0].substr(0, 24), "fail NSPOSIXErrorDomain ");
  EXPECT_FALSE(file->isFetching());
}


TEST_F(GADCachedFileTest, CacheBusterGoesOnTheWireButNotIntoThePath) {
  server.respondToPrefix(kScript, SimResponse::ok("busted").header("Last-Modified", kLastModified));
  auto plain = makeFile(kScript);
  auto busted = makeFile(kScript);
  busted->validateWithCacheBuster();
  clock.runUntilIdle();

  ASSERT_EQ(server.requests().size(), 1u);
  std::string expected = std::string(kScript) + "?unique=315532800";  // SimClock's start
  EXPECT_EQ(server.requests()[0].url().absoluteString(), expected);
  EXPECT_EQ(busted->httpDestinationURL().absoluteString(), expected);
  EXPECT_EQ(busted->sourceURL().absoluteString(), kScript);
  EXPECT_EQ(busted->filePath(), plain->filePath());
  EXPECT_EQ(plain->content(), "busted");

  fetch(*plain);
  EXPECT_EQ(server.requests()[1].url().absoluteString(), kScript);
  EXPECT_EQ(server.requests()[1].valueForHTTPHeaderField("If-Modified-Since"), kLastModified);
}


TEST_F(GADCachedFileTest, RedirectChainIsOfferedHopByHopAndFollowed) {
  server.respond("http://ads.example/a", SimResponse::redirect(302, "/b")
                                              .header("X-Vize-Tracking-Urls", "http://t.example/1"));
  server.respond("http://ads.example/b", SimResponse::redirect(301, "http://cdn.example/c"));
  server.respond("http://cdn.example/c", SimResponse::ok("<html>ad</html>"));
  std::vector<std::optional<std::string>> trackingSeen;
  delegate->onRedirect = [&](GADCachedFile& f, const pf::Url&) -> std::optional<pf::Error> {
    trackingSeen.push_back(f.httpHeaders().value("X-Vize-Tracking-Urls"));
    return std::nullopt;
  };
  auto file = makeFile("http://ads.example/a");
  fetch(*file);

  EXPECT_THAT(delegate->calls, ElementsAre("redirect http://ads.example/b",
                                           "redirect http://cdn.example/c", "end"));
  EXPECT_THAT(trackingSeen, ElementsAre("http://t.example/1", std::nullopt))
      << "each hop's headers are the redirect response's own";
  EXPECT_EQ(file->httpDestinationURL().absoluteString(), "http://cdn.example/c");
  EXPECT_EQ(file->httpStatusCode(), 200);
  EXPECT_EQ(file->content(), "<html>ad</html>");
  EXPECT_EQ(pf::FileManager::directoryOf(*file->filePath()), caches() + "/ads.example");
}

TEST_F(GADCachedFileTest, RefusedRedirectFailsWithTheDelegatesErrorAndGoesNoFurther) {
  server.respond("http://ads.example/click", SimResponse::redirect(302, "itms://store/app")
                                                  .header("X-Vize-Orientation", "portrait"));
  delegate->onRedirect = [](GADCachedFile&, const pf::Url&) -> std::optional<pf::Error> {
    return pf::Error("com.diziva.ads", 0);
  };
  auto file = makeFile("http://ads.example/click");
  fetch(*file);

  EXPECT_THAT(delegate->calls, ElementsAre("redirect itms://store/app", "fail com.diziva.ads 0"));
  EXPECT_EQ(server.requests().size(), 1u);
  EXPECT_EQ(file->httpDestinationURL().absoluteString(), "itms://store/app");
  EXPECT_EQ(file->httpHeaders().value("X-Vize-Orientation"), "portrait");
  EXPECT_EQ(file->httpStatusCode(), 0) << "a redirect is no final response";
  EXPECT_FALSE(file->isFetching());
  EXPECT_EQ(pf::URLConnection::loadingCount(), 0u);
}

// Cancelling, invalidating or letting go of the file inside the redirect question ends the
// fetch: the delegate hears nothing more, whatever it answered, and the target is not asked.
TEST_F(GADCachedFileTest, CancelInvalidateOrDropInsideTheRedirectQuestionEndsTheFetchSilently) {
  server.respond("http://ads.example/a", SimResponse::redirect(302, "/b"));
  server.respond("http://ads.example/b", SimResponse::ok("b"));
  static const char* const kActions[] = {"cancel", "invalidate", "drop", "drop while another holds it"};
  for (std::string action : kActions) {
    SCOPED_TRACE(action);
    delegate->calls.clear();
    auto file = makeFile("http://ads.example/a");
    std::weak_ptr<GADCachedFile> weak = file;
    std::shared_ptr<GADCachedFile> elsewhere = action == "drop while another holds it" ? file : nullptr;
    delegate->onRedirect = [&](GADCachedFile& f, const pf::Url&) -> std::optional<pf::Error> {
      if (action == "cancel") f.cancel();
      if (action == "invalidate") f.invalidate();
      if (action.starts_with("drop")) file.reset();  // the owner lets go and refuses in one breath
      return pf::Error("com.diziva.ads", 0);
    };
    fetch(*file);
    if (elsewhere) {
      // Still held: the owner letting go is no end of the fetch, and the refusal is heard.
      EXPECT_THAT(delegate->calls, ElementsAre("redirect http://ads.example/b", "fail com.diziva.ads 0"));
      elsewhere.reset();
    } else {
      EXPECT_THAT(delegate->calls, ElementsAre("redirect http://ads.example/b"));
    }
    EXPECT_EQ(weak.expired(), action.starts_with("drop"));
    EXPECT_EQ(server.requestsFor("http://ads.example/b").size(), 0u);
    EXPECT_EQ(pf::URLConnection::loadingCount(), 0u);
  }
}


TEST_F(GADCachedFileTest, ValidateWhileFetchingStartsNothing) {
  auto file = fetchingScript(SimResponse::ok("x"));
  file->validate();
  file->validateWithCacheBuster();
  clock.advance(1.0);
  EXPECT_EQ(server.requests().size(), 1u);
  EXPECT_THAT(delegate->calls, ElementsAre("end"));
}

TEST_F(GADCachedFileTest, CancelSilencesTheFetchAndTheFileCanFetchAgain) {
  auto file = fetchingScript(SimResponse::ok("first"));
  server.respondOnce(kScript, SimResponse::ok("second"));
  file->cancel();
  EXPECT_FALSE(file->isFetching());
  clock.advance(2.0);
  EXPECT_TRUE(delegate->calls.empty());
  EXPECT_FALSE(file->hasContent());
  EXPECT_EQ(pf::URLConnection::loadingCount(), 0u);

  fetch(*file);
  EXPECT_THAT(delegate->calls, ElementsAre("end"));
  EXPECT_EQ(file->content(), "second");
}

TEST_F(GADCachedFileTest, InvalidateStopsTheFetchAndDeletesTheSharedFile) {
  auto other = fetchedScript(SimResponse::ok("x").header("Last-Modified", kLastModified));
  auto file = fetchingScript(SimResponse::ok("late"));  // the same path as `other`
  file->invalidate();
  clock.advance(2.0);
  EXPECT_THAT(delegate->calls, ElementsAre("end"));
  EXPECT_FALSE(other->hasContent());
  file->invalidate();  // nothing to delete: no harm
}

TEST_F(GADCachedFileTest, OwnerLettingGoMidLoadStopsTheLoadAndNothingArrives) {
  auto file = fetchingScript(SimResponse::ok("x"));
  file.reset();
  EXPECT_EQ(pf::URLConnection::loadingCount(), 0u);
  clock.advance(2.0);
  EXPECT_TRUE(delegate->calls.empty());
}

TEST_F(GADCachedFileTest, DelegateGoneMidLoadIsNoProblemAndTheFileIsStillWritten) {
  auto file = fetchingScript(SimResponse::ok("x"));
  delegate.reset();
  clock.advance(2.0);
  EXPECT_FALSE(file->isFetching());
  EXPECT_EQ(file->content(), "x");
}

TEST_F(GADCachedFileTest, OwnerMayDropTheFileFromTheEndCallbacks) {
  server.respondOnce(kScript, SimResponse::ok("x"));
  server.respondOnce(kScript, SimResponse::withStatus(500));
  auto file = makeFile(kScript);
  std::weak_ptr<GADCachedFile> weak = file;
  delegate->onEnd = [&](GADCachedFile&) { file.reset(); };
  delegate->onFail = [&](GADCachedFile&) { file.reset(); };
  fetch(*file);
  EXPECT_TRUE(weak.expired());

  file = makeFile(kScript);
  weak = file;
  fetch(*file);
  EXPECT_THAT(delegate->calls, ElementsAre("end", "fail none"));
  EXPECT_TRUE(weak.expired());
}

}  // namespace
