#include "Answer.h"
#include "Request.h"
#include "Router.h"

#include <gtest/gtest.h>

namespace {

Request at(const std::string& path) {
  Request r;
  r.path = path;
  return r;
}

Router::Handler says(const std::string& text) {
  return [text](const Request&) { return Answer::text(200, text); };
}

TEST(SandboxRouter, LongestPrefixWinsAsInLibsoup) {
  Router router;
  auto root = router.add("/", says("root"));
  auto ad = router.add("/ad", says("ad"));
  auto hop = router.add("/ad/hop", says("hop"));
  EXPECT_EQ(router.dispatch(at("/")).body, "root");
  EXPECT_EQ(router.dispatch(at("/ad")).body, "ad");
  EXPECT_EQ(router.dispatch(at("/ad/creative")).body, "ad");
  EXPECT_EQ(router.dispatch(at("/adx")).body, "ad") << "a plain prefix, as SoupServer matches";
  EXPECT_EQ(router.dispatch(at("/ad/hop/2")).body, "hop");
  EXPECT_EQ(router.dispatch(at("/a")).body, "root");
  // Only the part before a "?" (a decoded %3F) is compared.
  EXPECT_EQ(router.dispatch(at("/ad?/hop")).body, "ad");
  EXPECT_EQ(router.dispatch(at("")).body, "root") << "an empty path is looked up as /";
}

TEST(SandboxRouter, UnmatchedPathsGet404WithoutBody) {
  Router router;
  auto stats = router.add("/stats.json", says("stats"));
  Answer a = router.dispatch(at("/"));
  EXPECT_EQ(a.status, 404u);
  EXPECT_TRUE(a.body.empty());
  EXPECT_EQ(router.dispatch(at("*")).status, 404u);
  EXPECT_EQ(router.dispatch(at("stats.json")).status, 404u);
}

TEST(SandboxRouter, AHandlerStaysWhileItsRouteLives) {
  Router router;
  auto one = router.add("/x", says("one"));
  {
    auto two = router.add("/x", says("two"));
    EXPECT_EQ(router.dispatch(at("/x")).body, "two") << "the later handler takes the path over";
    Router::Route moved = std::move(two);
    EXPECT_EQ(router.dispatch(at("/x")).body, "two") << "a moved route still holds its handler";
  }
  EXPECT_EQ(router.dispatch(at("/x")).body, "one");
  one = Router::Route();
  EXPECT_EQ(router.dispatch(at("/x")).status, 404u);
}

TEST(SandboxRequest, HeadersByAnyCaseTheLastOneWins) {
  Request r;
  r.localOrigin = "http://127.0.0.1:47312";
  EXPECT_EQ(r.origin(), "http://127.0.0.1:47312");
  r.headers = {{"host", ""}, {"X-A", "1"}};
  EXPECT_EQ(r.origin(), "http://127.0.0.1:47312") << "an empty Host names nothing";
  r.headers = {{"HOST", "first:1"}, {"x-a", "1"}, {"Host", "ad.example:8080"}};
  EXPECT_EQ(r.origin(), "http://ad.example:8080");
  ASSERT_NE(r.header("X-A"), nullptr);
  EXPECT_EQ(*r.header("X-A"), "1");
  EXPECT_EQ(r.header("X-B"), nullptr);
}

TEST(SandboxAnswer, HeadersReplaceByAnyCaseAndKeepTheirOrder) {
  Answer a = Answer::json(200, "{}");
  EXPECT_EQ(a.contentType, "application/json");
  ASSERT_NE(a.find("cache-control"), nullptr);
  EXPECT_EQ(*a.find("cache-control"), "no-store");
  a.header("X-One", "1").header("X-Two", "2").header("x-one", "3");
  ASSERT_EQ(a.headers.size(), 3u);
  EXPECT_EQ(a.headers[1].first, "X-Two");
  EXPECT_EQ(a.headers[2].first, "x-one");
  EXPECT_EQ(a.headers[2].second, "3");

  Answer away = Answer::redirect("itms-apps://apps.example/app/1");
  EXPECT_EQ(away.status, 302u);
  EXPECT_TRUE(away.contentType.empty() && away.body.empty());
  EXPECT_EQ(*away.find("Location"), "itms-apps://apps.example/app/1");
}

// A header that would break the head (CR, LF or NUL anywhere, a colon or blank in the
// name) is left out, as libsoup refuses to send one.
TEST(SandboxAnswer, Http1HeadPromisesItsLengthClosesAndLeavesOutHeadersThatWouldBreakIt) {
  Answer a = Answer::html(200, "<p>cut");
  a.promisedLength = 4096;
  a.header("X-Vize-Refresh-Rate", "30");
  a.header("X-Split", "a\r\nX-Injected: 1");
  a.header("X-Lf", "a\nb");
  a.header("X-Nul", std::string("a\0b", 3));
  a.header("X-Bad: name", "v");
  a.header("", "v");
  a.header("X-Fine", "a b\tc");
  EXPECT_EQ(a.http1Head(),
            "HTTP/1.1 200 OK\r\n"
            "Content-Type: text/html; charset=utf-8\r\n"
            "Content-Length: 4096\r\n"
            "Connection: close\r\n"
            "X-Vize-Refresh-Rate: 30\r\n"
            "X-Fine: a b\tc\r\n"
            "\r\n");
}

}  // namespace
