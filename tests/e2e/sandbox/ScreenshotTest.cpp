#include "HttpClient.h"
#include "JsonDoc.h"
#include "SandboxProcess.h"
#include "WebViewHarness.h"

#include <glib/gstdio.h>
#include <gtest/gtest.h>

namespace {

// Screenshots of what people see of the sandbox, kept in the test's output folder for
// review: the three site pages on a 320-point-wide view, every banner creative at
// 320x50, the landing pages and the dashboard.
class Screenshots : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { g_mkdir_with_parents(ASHENMOOR_TEST_OUTPUT_DIR, 0755); }
  void SetUp() override { ASSERT_TRUE(sandbox_.ready()); }

  static std::string out(const std::string& name) { return std::string(ASHENMOOR_TEST_OUTPUT_DIR) + "/" + name + ".png"; }

  void shoot(WebViewHarness& web, const std::string& url, const std::string& name, const std::string& title,
             bool fullDocument, int width, int minHeight, size_t waitForMessages = 0) {
    SCOPED_TRACE(name);
    ASSERT_TRUE(web.loadUri(url)) << url;
    if (waitForMessages) web.waitForMessages(waitForMessages, 3000);
    if (!title.empty()) {
      EXPECT_EQ(web.title(), title);
    }
    auto shot = web.snapshot(out(name), fullDocument);
    ASSERT_TRUE(shot.saved) << shot.error;
    EXPECT_EQ(shot.width, width);
    EXPECT_GE(shot.height, minHeight);
    EXPECT_GT(shot.colours, 12u) << "the page looks blank";
  }

  SandboxProcess sandbox_;
  HttpClient http_;
};

TEST_F(Screenshots, SitePagesOnA320PointView) {
  WebViewHarness web(320, 480);
  shoot(web, sandbox_.content() + "/classiclist.html", "site-classiclist", "Ashenmoor \u2014 Episode list", true, 320, 900);
  shoot(web, sandbox_.content() + "/contacts.html", "site-contacts", "Ashenmoor \u2014 Contact", true, 320, 480);
  shoot(web, sandbox_.content() + "/more.html", "site-more", "Ashenmoor \u2014 More", true, 320, 480);
  shoot(web, sandbox_.ad() + "/landing/browser.html?c=link", "landing-browser", "", true, 320, 400);
  shoot(web, sandbox_.ad() + "/landing/webapp.html?c=link-tracked", "landing-webapp", "", false, 320, 480);
  shoot(web, sandbox_.ad() + "/landing/video.html?c=msg-open-video", "landing-video", "", true, 320, 300);
}

TEST_F(Screenshots, EveryBannerCreativeAt320x50) {
  JsonDoc catalogue(http_.get(sandbox_.ad() + "/creatives.json").body);
  ASSERT_TRUE(catalogue.ok());
  WebViewHarness web(320, 50);
  // Whatever a banner navigates to by itself is refused and collected: only auto-redirect may try.
  web.stayOnPage(true);
  JsonArray* all = json_node_get_array(catalogue.root());
  int shots = 0;
  for (guint i = 0; i < json_array_get_length(all); ++i) {
    JsonObject* c = json_array_get_object_element(all, i);
    std::string kind = json_object_get_string_member(c, "kind");
    if (kind != "banner" && kind != "redirect" && kind != "slow") continue;
    std::string name = json_object_get_string_member(c, "name");
    web.clearMessages();
    // auto-redirect tries six ways out within its first second; the shot waits for all
    // six (refused), so its strip lists them. Every other banner tries none.
    const bool leaves = name == "auto-redirect";
    shoot(web, sandbox_.ad() + "/ad/creative?c=" + name, "creative-" + name, "", false, 320, 50, leaves ? 6 : 0);
    const auto& tried = web.messages();
    if (leaves) {
      const char* schemes[] = {"gmsg:", "rodud:", "mailto:", "tel:", "itms-apps:", "http:"};
      ASSERT_EQ(tried.size(), 6u);
      for (size_t k = 0; k < 6; ++k) EXPECT_TRUE(g_str_has_prefix(tried[k].c_str(), schemes[k])) << tried[k];
    } else {
      EXPECT_TRUE(tried.empty()) << name << " went untouched to " << tried.front();
    }
    ++shots;
  }
  EXPECT_GE(shots, 20);
}

TEST_F(Screenshots, DashboardAfterSomeTraffic) {
  // Traffic worth showing: two ads through the rotation, one failure, pings, a revalidation,
  // landing page loads with and without a Referer.
  http_.get(sandbox_.statics() + "/vize/sdk-core-v40.js");
  auto lastModified = http_.get(sandbox_.statics() + "/vize/sdk-core-v40.js").header("last-modified");
  http_.get(sandbox_.statics() + "/vize/sdk-core-v40.js?unique=1", false, {{"If-Modified-Since", lastModified}});
  const std::string query =
      "/ad?preqs=2&js=vize-sdk-i-v4.1.1&hl=en_GB&u_w=320&u_h=480&kw=%5B%22moor%22%5D"
      "&extras=%7B%22color_bg%22%3A%222f3e46%22%7D&slotname=a15c0f3e82d9b47"
      "&ad_frame=%7B%22x%22%3A0%2C%22y%22%3A365%2C%22w%22%3A320%2C%22h%22%3A50%7D";
  http_.get(sandbox_.ad() + query);
  http_.get(sandbox_.ad() + query + "&creative=status-500");
  http_.get(sandbox_.ad() + query, true);
  http_.get(sandbox_.ad() + "/track/impression?c=link");
  http_.get(sandbox_.ad() + "/track/click?c=link");
  http_.get(sandbox_.ad() + "/landing/browser.html?c=link", false, {{"Referer", sandbox_.ad() + "/ad/creative?c=link"}});
  http_.get(sandbox_.ad() + "/landing/webapp.html?c=link-tracked");
  http_.get(sandbox_.ad() + "/control/next?creative=nofill&count=2");

  WebViewHarness web(1000, 760);
  shoot(web, sandbox_.ad() + "/", "dashboard", "Ashenmoor sandbox", false, 1000, 760);
}

}  // namespace
