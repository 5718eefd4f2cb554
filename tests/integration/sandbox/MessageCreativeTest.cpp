#include "MessageUrlParts.h"
#include "SandboxFixture.h"

#include <regex>

namespace {

class MessageCreatives : public SandboxFixture {
 protected:
  // The tap target of a banner creative, HTML entities undone.
  std::string hrefOf(const std::string& creative) {
    auto r = http_.get(sandbox_.ad() + "/ad/creative?c=" + creative);
    std::smatch m;
    if (!std::regex_search(r.body, m, std::regex("id=\"ad\" href=\"([^\"]*)\""))) return "";
    std::string href = m[1];
    for (auto [entity, ch] : {std::pair{"&quot;", "\""}, {"&#39;", "'"}, {"&lt;", "<"}, {"&gt;", ">"}, {"&amp;", "&"}}) {
      for (size_t at; (at = href.find(entity)) != std::string::npos;) href.replace(at, std::string(entity).size(), ch);
    }
    return href;
  }

  MessageUrlParts message(const std::string& creative) {
    auto parts = MessageUrlParts::parse(hrefOf(creative));
    EXPECT_EQ(parts.dropped, 0) << creative << ": a query piece the application would drop";
    return parts;
  }
};

TEST_F(MessageCreatives, PingMessagesCarryUrlsBackToTheSandbox) {
  auto click = message("msg-click");
  EXPECT_EQ(click.scheme, "gmsg");
  EXPECT_EQ(click.name, "click");
  EXPECT_EQ(click.params["u"], sandbox_.ad() + "/track/click?c=msg-click&ai=SBX7q2");
  EXPECT_EQ(click.params["ai"], "SBX7q2");

  auto track = message("msg-httptrack");
  EXPECT_EQ(track.name, "httpTrack");
  // Following the ping meets a redirect to a non-web scheme, where a tracker stops.
  auto ping = http_.get(track.params["u"]);
  EXPECT_EQ(ping.status, 302u);
  EXPECT_EQ(ping.header("location"), "itms-apps://apps.example/app/ashenmoor");
  EXPECT_EQ(stats()->integer({"creatives", "msg-httptrack", "events"}), 1);
}

TEST_F(MessageCreatives, OpenMessagesCoverEveryAction) {
  auto browser = message("msg-open-browser");
  EXPECT_EQ(browser.name, "open");
  EXPECT_EQ(browser.params["a"], "browser");
  EXPECT_EQ(browser.params["o"], "p");
  EXPECT_EQ(http_.get(browser.params["u"]).status, 200u) << browser.params["u"];

  auto webapp = message("msg-open-webapp");
  EXPECT_EQ(webapp.params["a"], "webapp");
  EXPECT_EQ(http_.get(webapp.params["u"]).status, 200u);

  auto inline_ = message("msg-open-webapp-html");
  EXPECT_EQ(inline_.params["a"], "webapp");
  EXPECT_EQ(inline_.params.count("u"), 0u);
  EXPECT_NE(inline_.params["html"].find("gmsg://sandbox/close"), std::string::npos);
  EXPECT_NE(inline_.params["html"].find("VIZE_ReceiveMessage"), std::string::npos);

  auto video = message("msg-open-video");
  EXPECT_EQ(video.params["a"], "video");
  EXPECT_EQ(http_.get(video.params["u"]).status, 200u);

  EXPECT_EQ(message("msg-open-call").params["u"].rfind("tel:", 0), 0u);
  EXPECT_EQ(message("msg-open-call").params["a"], "call");
  auto app = message("msg-open-app");
  EXPECT_EQ(app.params["a"], "app");
  EXPECT_EQ(app.params["u"].rfind("itms-apps://", 0), 0u);

  auto old = message("rodud-launch");
  EXPECT_EQ(old.scheme, "rodud");
  EXPECT_EQ(old.name, "launch");
  EXPECT_EQ(http_.get(old.params["url"]).status, 200u);
}

TEST_F(MessageCreatives, RemainingVerbsAreWellFormed) {
  EXPECT_EQ(message("msg-close").name, "close");
  EXPECT_EQ(message("msg-vibrate").name, "vibrate");
  EXPECT_EQ(message("msg-touch").name, "touch");
  auto log = message("msg-log");
  EXPECT_EQ(log.name, "log");
  EXPECT_NE(log.params["string"].find("&"), std::string::npos) << "a raw '&' must survive encoding";
  auto can = message("msg-canopenurls");
  EXPECT_EQ(can.name, "canOpenURLs");
  g_auto(GStrv) urls = g_strsplit(can.params["urls"].c_str(), ",", -1);
  EXPECT_EQ(g_strv_length(urls), 4u);
  auto eval = message("msg-evalinopener");
  EXPECT_EQ(eval.name, "evalInOpener");
  EXPECT_EQ(eval.params["js"], "document.title");
  auto settings = message("msg-settings");
  EXPECT_EQ(settings.name, "settings");
  EXPECT_EQ(settings.params["supportedorientations"], "landscape");
}

}  // namespace
