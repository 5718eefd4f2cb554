#include "CreativeCatalogue.h"

#include "MessageUrl.h"
#include "TextEscape.h"

namespace {

// The palette: each creative gets its own pair so the rotation is visible at a glance.
struct Look {
  const char* a;
  const char* b;
};
constexpr Look kMoor{"#2f3e46", "#52796f"};
constexpr Look kEmber{"#6a040f", "#d00000"};
constexpr Look kDusk{"#3c096c", "#7b2cbf"};
constexpr Look kPeat{"#432818", "#99582a"};
constexpr Look kTide{"#023e8a", "#0096c7"};
constexpr Look kLichen{"#40513b", "#609966"};
constexpr Look kSlate{"#212529", "#495057"};

void style(Creative& c, Look look, std::string glyph, std::string headline, std::string subline,
           std::string cta) {
  c.colorA = look.a;
  c.colorB = look.b;
  c.glyph = std::move(glyph);
  c.headline = std::move(headline);
  c.subline = std::move(subline);
  c.cta = std::move(cta);
}

std::string landing(const std::string& origin, const std::string& page, const std::string& creative) {
  return origin + "/landing/" + page + "?c=" + TextEscape::uriComponent(creative);
}

}  // namespace

CreativeCatalogue::CreativeCatalogue(const WwwRoot& www) : www_(www) {
  creatives_.reserve(40);  // add() hands out references into the vector
  addBanners();
  addMessageSenders();
  addFailureRoads();
}

Creative& CreativeCatalogue::add(std::string name, Creative::Kind kind, std::string summary) {
  Creative c;
  c.name = std::move(name);
  c.kind = kind;
  c.summary = std::move(summary);
  c.rotates = kind == Creative::Kind::Banner || kind == Creative::Kind::Redirect;
  creatives_.push_back(std::move(c));
  return creatives_.back();
}

void CreativeCatalogue::addBanners() {
  {
    auto& c = add("link", Creative::Kind::Banner,
                  "plain http link, no click tracking: a tap opens the in-app browser");
    c.orientation = "any";
    style(c, kMoor, "\u263E", "Season Two is here", "The lanterns are lit again on the moor.",
          "Watch");
    c.href = [](const std::string& o) { return landing(o, "browser.html", "link"); };
  }
  {
    auto& c = add("link-tracked", Creative::Kind::Banner,
                  "http link with click tracking URLs: a tap opens the web-app overlay");
    c.orientation = "portrait";
    c.clickTracking = true;
    c.secondPing = "/track/event?c=link-tracked&kind=partner-impression";
    style(c, kDusk, "\u2605", "The Lantern Box", "Every episode, one velvet box.", "Open");
    c.href = [](const std::string& o) { return landing(o, "webapp.html", "link-tracked"); };
  }
  {
    auto& c = add("mailto", Creative::Kind::Banner, "mailto link with subject, two cc addresses and a body");
    c.clickTracking = true;
    style(c, kPeat, "\u2709", "Write to the moor", "Letters reach the writers' room.", "Write");
    c.href = [](const std::string&) {
      return std::string(
          "mailto:letters@ashenmoor.example?subject=Letters%20from%20the%20moor"
          "&cc=editor@ashenmoor.example,archive@ashenmoor.example&body=Dear%20Ashenmoor%2C");
    };
  }
  {
    auto& c = add("tel", Creative::Kind::Banner, "tel link: a tap hands a phone number to the system");
    c.clickTracking = true;
    style(c, kLichen, "\u260E", "Call the Hollow Inn", "Tours of the filming sites.", "Call");
    c.href = [](const std::string&) { return std::string("tel:+15550100"); };
  }
  {
    auto& c = add("redirect", Creative::Kind::Redirect,
                  "two 302 hops before the ad; impression URLs on a redirect and on the final answer");
    c.orientation = "any";
    c.clickTracking = true;
    style(c, kTide, "\u21BB", "Found by the tide", "This ad took the long way round.", "Follow");
    c.href = [](const std::string& o) { return landing(o, "browser.html", "redirect"); };
  }
}

void CreativeCatalogue::addMessageSenders() {
  using P = QueryString::Pairs;
  // Each sender is a banner whose tap navigates to one message URL.
  auto sender = [this](const char* name, const char* summary, Look look, const char* glyph,
                       const char* headline, const char* subline,
                       std::function<std::string(const std::string&)> href) {
    auto& c = add(name, Creative::Kind::Banner, summary);
    c.clickTracking = true;
    style(c, look, glyph, headline, subline, "Tap");
    c.href = std::move(href);
    return &c;
  };
  sender("msg-click", "gmsg click: pings /track/click with \"ai\" in the URL", kEmber, "\u261D",
         "Click ping", "Sends \u201cclick\u201d with an ai value.", [](const std::string& o) {
           return MessageUrl::gmsg("click", P{{"u", o + "/track/click?c=msg-click&ai=SBX7q2"}, {"ai", "SBX7q2"}});
         });
  sender("msg-httptrack", "gmsg httpTrack: pings /track/event, which redirects to an itms-apps URL",
         kEmber, "\u25CE", "Tracking ping", "Sends \u201chttpTrack\u201d.", [](const std::string& o) {
           std::string ping = o + "/track/event?c=msg-httptrack&to=" +
                              TextEscape::uriComponent("itms-apps://apps.example/app/ashenmoor");
           return MessageUrl::gmsg("httpTrack", P{{"u", ping}});
         });
  sender("msg-open-browser", "gmsg open a=browser, portrait only (o=p)", kMoor, "\u2197",
         "Open the browser", "Sends \u201copen\u201d a=browser.", [](const std::string& o) {
           return MessageUrl::gmsg(
               "open", P{{"a", "browser"}, {"u", landing(o, "browser.html", "msg-open-browser")}, {"o", "p"}});
         });
  sender("msg-open-webapp", "gmsg open a=webapp with a URL", kDusk, "\u25A3", "Open the web app",
         "Sends \u201copen\u201d a=webapp with u.", [](const std::string& o) {
           return MessageUrl::gmsg("open", P{{"a", "webapp"}, {"u", landing(o, "webapp.html", "msg-open-webapp")}});
         });
  sender("msg-open-webapp-html", "gmsg open a=webapp with inline html and no URL", kDusk, "\u2263",
         "Inline web app", "Sends \u201copen\u201d a=webapp with html.", [this](const std::string&) {
           std::string html = www_.read("ad/landing/webapp-inline.html").value_or("<p>missing page</p>");
           return MessageUrl::gmsg("open", P{{"a", "webapp"}, {"html", html}});
         });
  sender("msg-open-video", "gmsg open a=video (shown in the in-app browser)", kSlate, "\u25B6",
         "Watch the trailer", "Sends \u201copen\u201d a=video.", [](const std::string& o) {
           return MessageUrl::gmsg("open", P{{"a", "video"}, {"u", landing(o, "video.html", "msg-open-video")}});
         });
  sender("msg-open-call", "gmsg open a=call with a tel URL", kLichen, "\u260F", "Ring the box office",
         "Sends \u201copen\u201d a=call.", [](const std::string&) {
           return MessageUrl::gmsg("open", P{{"a", "call"}, {"u", "tel:+15550123"}});
         });
  sender("msg-open-app", "gmsg open a=app with an itms-apps URL (leaves the application)", kPeat, "\u2B22",
         "Get the companion app", "Sends \u201copen\u201d a=app.", [](const std::string&) {
           return MessageUrl::gmsg("open", P{{"a", "app"}, {"u", "itms-apps://apps.example/app/ashenmoor"}});
         });
  sender("msg-close", "gmsg close (ignored inside a banner)", kSlate, "\u2715", "Close message",
         "Sends \u201cclose\u201d.", [](const std::string&) { return MessageUrl::gmsg("close"); });
  sender("msg-log", "gmsg log: a line in the application's log", kSlate, "\u270E", "Log message",
         "Sends \u201clog\u201d with a string.", [](const std::string&) {
           return MessageUrl::gmsg("log", P{{"string", "sandbox creative msg-log says hello & goodbye"}});
         });
  auto* touch = sender("msg-touch", "gmsg touch with the tap's tx, ty and press time td", kTide, "\u271A",
                       "Touch signals", "Sends \u201ctouch\u201d with tx, ty, td.",
                       [](const std::string&) { return MessageUrl::gmsg("touch"); });
  touch->touchScript = true;
  sender("msg-vibrate", "gmsg vibrate", kEmber, "\u224B", "Vibrate", "Sends \u201cvibrate\u201d.",
         [](const std::string&) { return MessageUrl::gmsg("vibrate"); });
  sender("msg-canopenurls", "gmsg canOpenURLs; the answer \"openableURLs\" is shown in the banner", kTide,
         "?", "Can you open these?", "Sends \u201ccanOpenURLs\u201d.", [](const std::string&) {
           return MessageUrl::gmsg("canOpenURLs",
                                   P{{"urls", "tel:+15550100,mailto:letters@ashenmoor.example,"
                                              "itms-apps://apps.example,http://127.0.0.1/"}});
         });
  sender("msg-evalinopener", "gmsg evalInOpener js=document.title (needs an opening web view)", kMoor,
         "\u2039\u203A", "Ask the opener", "Sends \u201cevalInOpener\u201d.", [](const std::string&) {
           return MessageUrl::gmsg("evalInOpener", P{{"js", "document.title"}});
         });
  sender("msg-settings", "gmsg settings supportedOrientations=landscape (observed by full-screen pages)",
         kSlate, "\u2699", "Settings message", "Sends \u201csettings\u201d.", [](const std::string&) {
           return MessageUrl::gmsg("settings", P{{"supportedOrientations", "landscape"}});
         });
  sender("rodud-launch", "older rodud://launch form: opens the in-app browser", kPeat, "\u2192",
         "The old road", "Sends rodud://launch.", [](const std::string& o) {
           return MessageUrl::rodud("launch", P{{"url", landing(o, "browser.html", "rodud-launch")}});
         });
}

void CreativeCatalogue::addFailureRoads() {
  add("nofill", Creative::Kind::NoFill, "no fill: 200 with a body of white space only (error code 1)");
  for (int status : {204, 400, 404, 500}) {
    auto& c = add("status-" + std::to_string(status), Creative::Kind::Status,
                  "HTTP " + std::to_string(status) + " with no ad");
    c.status = status;
  }
  add("truncated", Creative::Kind::Truncated, "200 that promises 4096 bytes and closes the connection mid-body");
  {
    auto& c = add("slow", Creative::Kind::Slow, "a normal ad after a delay (delay_ms, 4000 by default)");
    style(c, kLichen, "\u25D4", "Worth the wait", "This ad took its time.", "Open");
    c.href = [](const std::string& o) { return landing(o, "browser.html", "slow"); };
  }
  add("not-utf8", Creative::Kind::NotUtf8, "200 whose body is Latin-1, not UTF-8");
  {
    // A banner that looks like any other but tries, untouched, every way out of the
    // application within its first second; one that keeps its tap safety rule refuses all
    // but the last (an http navigation, which loads inside the banner).
    auto& c = add("auto-redirect", Creative::Kind::Banner,
                  "untouched, tries to leave within a second: gmsg open, rodud launch, mailto, tel, "
                  "itms-apps, then http");
    c.rotates = false;
    c.clickTracking = true;
    style(c, kEmber, "\u2600", "Midsummer finale", "The last episode, on the big screen.", "Tickets");
    c.href = [](const std::string& o) { return landing(o, "browser.html", "auto-redirect"); };
    c.leavesOnLoad = [](const std::string& o) {
      using P = QueryString::Pairs;
      const std::string page = landing(o, "browser.html", "auto-redirect");
      return std::vector<std::string>{
          MessageUrl::gmsg("open", P{{"a", "browser"}, {"u", page}}),
          MessageUrl::rodud("launch", P{{"url", page}}),
          "mailto:auto@ashenmoor.example?subject=auto",
          "tel:+15550199",
          "itms-apps://apps.example/app/auto",
          page,
      };
    };
  }
}

const Creative* CreativeCatalogue::find(const std::string& name) const {
  for (const auto& c : creatives_) {
    if (c.name == name) return &c;
  }
  return nullptr;
}

std::vector<const Creative*> CreativeCatalogue::rotating() const {
  std::vector<const Creative*> out;
  for (const auto& c : creatives_) {
    if (c.rotates) out.push_back(&c);
  }
  return out;
}
