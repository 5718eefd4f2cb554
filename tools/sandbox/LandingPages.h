#pragma once

#include "Answer.h"
#include "Request.h"
#include "Router.h"
#include "StaticFiles.h"
#include "Stats.h"
#include "WwwRoot.h"

// The advertiser's pages under /landing/ (www/ad/landing), where ads send the user. Every
// load of a page (a GET answered 200) is counted under the page's path below /landing/,
// with the Referer the request came with, so tests see which road led there.
class LandingPages {
 public:
  // `delayMs`: how long every page waits before it is answered (0: at once).
  LandingPages(Router& router, const WwwRoot& www, Stats& stats, int delayMs = 0);
  LandingPages(const LandingPages&) = delete;
  LandingPages& operator=(const LandingPages&) = delete;

 private:
  Answer serve(const Request& request);

  StaticFiles files_;
  Stats& stats_;
  int delayMs_;
  Router::Route route_;  // last: removed before anything it uses
};
