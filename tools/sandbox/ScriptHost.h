#pragma once

#include "HttpHost.h"
#include "Stats.h"
#include "WwwRoot.h"

// The static host of the ad core script "/vize/sdk-core-v40.js". The file's modification
// time is its Last-Modified; a request whose If-Modified-Since is not older gets 304, so
// the application's daily revalidation costs no body. A "unique" cache buster in the
// query is accepted and ignored.
class ScriptHost {
 public:
  static constexpr const char* kScriptPath = "/vize/sdk-core-v40.js";

  ScriptHost(HttpHost& host, const WwwRoot& www, Stats& stats);

 private:
  void serveScript(SoupServerMessage* msg);

  const WwwRoot& www_;
  Stats& stats_;
};
