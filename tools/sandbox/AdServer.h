#pragma once

#include "CreativeCatalogue.h"
#include "CreativeChooser.h"
#include "CreativePage.h"
#include "HttpHost.h"
#include "Stats.h"

#include <list>
#include <memory>
#include <string>

// The ad server: answers the ad URL the script built ("/ad?...") with the chosen
// creative and the X-Vize- headers, follows the redirect creative through "/ad/hop",
// and previews any banner creative at "/ad/creative?c=NAME" without counting it.
//
// A request without a "slotname" is rejected with 400, as a real server rejects an
// unknown ad unit. Every answer to "/ad", failures included, carries
// X-Vize-Refresh-Rate so the application re-arms its refresh timer.
class AdServer {
 public:
  struct Settings {
    int refreshSeconds = 30;  // 0: no X-Vize-Refresh-Rate header
    int slowDelayMs = 4000;
  };

  AdServer(HttpHost& host, const CreativeCatalogue& catalogue, const WwwRoot& www, CreativeChooser& chooser,
           Stats& stats, Settings settings);
  ~AdServer();
  AdServer(const AdServer&) = delete;
  AdServer& operator=(const AdServer&) = delete;

 private:
  struct SlowAnswer;

  void route(SoupServerMessage* msg);
  void adRequest(SoupServerMessage* msg);
  void hop(SoupServerMessage* msg);
  void preview(SoupServerMessage* msg);
  // Writes the creative's answer; returns the HTTP status it sends (or will send).
  int answer(SoupServerMessage* msg, const Creative& creative, const std::string& origin, int delayMs);
  void answerBanner(SoupServerMessage* msg, const Creative& creative, const std::string& origin);
  void answerTruncated(SoupServerMessage* msg, const Creative& creative, const std::string& origin);
  void answerLater(SoupServerMessage* msg, const Creative& creative, const std::string& origin, int delayMs);
  void finishSlow(SlowAnswer* slow, bool send);
  void trackingHeaders(SoupServerMessage* msg, const Creative& creative, const std::string& origin,
                       const std::string& tag);
  void refreshHeader(SoupServerMessage* msg);

  HttpHost& host_;
  const CreativeCatalogue& catalogue_;
  CreativePage page_;
  CreativeChooser& chooser_;
  Stats& stats_;
  Settings settings_;
  std::list<std::unique_ptr<SlowAnswer>> slow_;
};
