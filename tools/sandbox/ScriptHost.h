#pragma once

#include "Answer.h"
#include "Request.h"
#include "Router.h"
#include "Stats.h"
#include "WwwRoot.h"

#include <vector>

// The static host of the ad core script "/vize/sdk-core-v40.js". The file's modification
// time is its Last-Modified; a request whose If-Modified-Since is not older gets 304, so
// the application's daily revalidation costs no body. A "unique" cache buster in the
// query is accepted and ignored.
class ScriptHost {
 public:
  static constexpr const char* kScriptPath = "/vize/sdk-core-v40.js";

  ScriptHost(Router& router, const WwwRoot& www, Stats& stats);
  ScriptHost(const ScriptHost&) = delete;
  ScriptHost& operator=(const ScriptHost&) = delete;

 private:
  Answer serveScript(const Request& request);

  const WwwRoot& www_;
  Stats& stats_;
  std::vector<Router::Route> routes_;  // last: removed before anything they use
};
