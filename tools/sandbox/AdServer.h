#pragma once

#include "Answer.h"
#include "CreativeCatalogue.h"
#include "CreativeChooser.h"
#include "CreativePage.h"
#include "Request.h"
#include "Router.h"
#include "SignalReader.h"
#include "Stats.h"

#include <string>

// The ad server: answers the ad URL the script built ("/ad?...") with the chosen
// creative and the X-Vize- headers, follows the redirect creative through "/ad/hop",
// and previews any banner creative at "/ad/creative?c=NAME" without counting it.
//
// A request without a "slotname" is rejected with 400, as a real server rejects an
// unknown ad unit. Every answer to "/ad", failures included, carries
// X-Vize-Refresh-Rate so the application re-arms its refresh timer. The application's
// request signal ("ms"), when there is one, is read and counted valid or invalid; it does
// not change the answer, as a test server should not.
class AdServer {
 public:
  struct Settings {
    int refreshSeconds = 30;  // 0: no X-Vize-Refresh-Rate header
    int slowDelayMs = 4000;
    int landingDelayMs = 0;  // every landing page waits this long (a slow advertiser)
    std::string signalsKey = *SignalReader::keyFromHex(SignalReader::kDefaultKeyHex);  // 16 bytes
  };

  AdServer(Router& router, const CreativeCatalogue& catalogue, const WwwRoot& www, CreativeChooser& chooser,
           const SignalReader& signals, Stats& stats, Settings settings);
  AdServer(const AdServer&) = delete;
  AdServer& operator=(const AdServer&) = delete;

 private:
  Answer route(const Request& request);
  Answer adRequest(const Request& request);
  Answer hop(const Request& request);
  Answer preview(const Request& request);
  // The creative's answer.
  Answer answer(const Creative& creative, const std::string& origin, int delayMs);
  Answer answerBanner(const Creative& creative, const std::string& origin);
  Answer answerTruncated(const Creative& creative, const std::string& origin);
  void trackingHeaders(Answer& answer, const Creative& creative, const std::string& origin, const std::string& tag);
  void refreshHeader(Answer& answer);

  const CreativeCatalogue& catalogue_;
  CreativePage page_;
  CreativeChooser& chooser_;
  const SignalReader& signals_;
  Stats& stats_;
  Settings settings_;
  Router::Route route_;  // last: removed before anything it uses
};
