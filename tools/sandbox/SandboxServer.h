#pragma once

#include "AdServer.h"
#include "ContentSite.h"
#include "ControlApi.h"
#include "CreativeCatalogue.h"
#include "CreativeChooser.h"
#include "Dashboard.h"
#include "HttpHost.h"
#include "SandboxOptions.h"
#include "ScriptHost.h"
#include "StaticFiles.h"
#include "Stats.h"
#include "TrackingEndpoints.h"
#include "WwwRoot.h"

#include <string>

// The whole sandbox: three hosts and what each serves, sharing one set of counters.
class SandboxServer {
 public:
  SandboxServer(const SandboxOptions& options, const std::string& wwwDir);
  bool start(GError** error);
  // "ready content=N static=N ad=N"
  std::string readyLine() const;
  // A plain list of the creatives, for --help.
  static std::string creativesHelp(const CreativeCatalogue& catalogue);

 private:
  SandboxOptions options_;
  WwwRoot www_;
  Stats stats_;
  CreativeCatalogue catalogue_;
  CreativeChooser chooser_;
  // The hosts outlive the sites that registered handlers on them.
  HttpHost content_{"content"};
  HttpHost static_{"static"};
  HttpHost ad_{"ad"};
  ContentSite site_;
  ScriptHost script_;
  AdServer adServer_;
  TrackingEndpoints tracking_;
  ControlApi control_;
  Dashboard dashboard_;
  StaticFiles landing_;
};
