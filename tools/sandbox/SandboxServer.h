#pragma once

#include "HttpHost.h"
#include "SandboxOptions.h"
#include "SandboxSites.h"
#include "WwwRoot.h"

#include <string>

// The whole sandbox: three libsoup hosts and what each serves, sharing one set of counters.
class SandboxServer {
 public:
  SandboxServer(const SandboxOptions& options, const std::string& wwwDir);
  bool start(GError** error);
  // After the main loop has stopped: answers what is still held back (503) and runs the
  // main context until every answer is written, or timeoutMs have passed.
  void stop(int timeoutMs = 2000);
  // "ready content=N static=N ad=N"
  std::string readyLine() const;
  // A plain list of the creatives, for --help.
  static std::string creativesHelp(const CreativeCatalogue& catalogue);

 private:
  SandboxOptions options_;
  WwwRoot www_;
  // The hosts outlive the sites that registered handlers on them.
  HttpHost content_{"content"};
  HttpHost static_{"static"};
  HttpHost ad_{"ad"};
  SandboxSites sites_;
};
