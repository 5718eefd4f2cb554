#include "SandboxFixture.h"

#include <glib.h>

namespace {

using ScriptAndSite = SandboxFixture;

TEST_F(ScriptAndSite, ScriptIsServedThenRevalidatedWith304) {
  const std::string url = sandbox_.statics() + "/vize/sdk-core-v40.js";
  auto first = http_.get(url);
  ASSERT_EQ(first.status, 200u);
  EXPECT_NE(first.body.find("VIZE_buildAdURL"), std::string::npos);
  EXPECT_NE(first.header("content-type").find("javascript"), std::string::npos);
  const std::string lastModified = first.header("last-modified");
  ASSERT_FALSE(lastModified.empty());
  ASSERT_TRUE(g_str_has_suffix(lastModified.c_str(), " GMT")) << lastModified;

  // What the application sends back: the same date, with a cache buster in the query.
  auto same = http_.get(url + "?unique=801234567", false, {{"If-Modified-Since", lastModified}});
  EXPECT_EQ(same.status, 304u);
  EXPECT_TRUE(same.body.empty());

  auto older = http_.get(url, false, {{"If-Modified-Since", "Sat, 01 Jan 2000 00:00:00 GMT"}});
  EXPECT_EQ(older.status, 200u);
  EXPECT_EQ(older.body, first.body);

  auto garbage = http_.get(url, false, {{"If-Modified-Since", "yesterday-ish"}});
  EXPECT_EQ(garbage.status, 200u);

  auto counts = stats();
  EXPECT_EQ(counts->integer({"script", "200"}), 3);
  EXPECT_EQ(counts->integer({"script", "304"}), 1);
  EXPECT_EQ(http_.get(sandbox_.statics() + "/vize/other.js").status, 404u);
}

TEST_F(ScriptAndSite, ContentPagesAndTheirAssetsAreServed) {
  for (const char* page : {"/classiclist.html", "/contacts.html", "/more.html"}) {
    auto r = http_.get(sandbox_.content() + page);
    ASSERT_EQ(r.status, 200u) << page;
    EXPECT_NE(r.header("content-type").find("text/html"), std::string::npos);
    EXPECT_NE(r.body.find("<title>Ashenmoor"), std::string::npos) << page;
    EXPECT_NE(r.body.find("width=device-width"), std::string::npos) << page << " has no viewport";
    // Every page links the others and its stylesheet; nothing comes from outside.
    EXPECT_NE(r.body.find("href=\"site.css\""), std::string::npos);
    EXPECT_EQ(r.body.find("https://"), std::string::npos) << page;
  }
  auto css = http_.get(sandbox_.content() + "/site.css");
  EXPECT_EQ(css.status, 200u);
  EXPECT_NE(css.header("content-type").find("text/css"), std::string::npos);
  EXPECT_NE(css.body.find("crest.svg"), std::string::npos);
  EXPECT_EQ(http_.get(sandbox_.content() + "/crest.svg").header("content-type"), "image/svg+xml");

  auto root = http_.get(sandbox_.content() + "/");
  EXPECT_EQ(root.status, 302u);
  EXPECT_EQ(root.header("location"), "/classiclist.html");
  EXPECT_EQ(http_.get(sandbox_.content() + "/nothing.html").status, 404u);
}

TEST_F(ScriptAndSite, LandingPagesAnswerOnTheAdHost) {
  for (const char* page : {"browser.html", "webapp.html", "video.html"}) {
    auto r = http_.get(sandbox_.ad() + "/landing/" + page + "?c=link");
    EXPECT_EQ(r.status, 200u) << page;
    EXPECT_NE(r.body.find("onorientationchange"), std::string::npos) << page;
  }
  auto webapp = http_.get(sandbox_.ad() + "/landing/webapp.html");
  for (const char* needle : {"gmsg://sandbox/close", "gmsg://sandbox/settings?supportedOrientations=", "VIZE_ReceiveMessage"}) {
    EXPECT_NE(webapp.body.find(needle), std::string::npos) << needle;
  }
}

}  // namespace
