#pragma once

#include "AdServer.h"
#include "ContentSite.h"
#include "ControlApi.h"
#include "CreativeCatalogue.h"
#include "CreativeChooser.h"
#include "Dashboard.h"
#include "LandingPages.h"
#include "Router.h"
#include "ScriptHost.h"
#include "Stats.h"
#include "TrackingEndpoints.h"
#include "WwwRoot.h"

// Everything the sandbox serves, as handlers on three routers: the content site, the
// script host, and the ad server with its tracking, control, dashboard and landing pages,
// all sharing one set of counters. Plain requests in, plain answers out: SandboxServer puts
// the routers on libsoup; tests and the fuzz target call them directly.
class SandboxSites {
 public:
  struct Routers {
    Router& content;
    Router& statics;
    Router& ad;
  };

  // The routers and www must outlive the sites.
  SandboxSites(Routers routers, const WwwRoot& www, AdServer::Settings settings);
  SandboxSites(const SandboxSites&) = delete;
  SandboxSites& operator=(const SandboxSites&) = delete;

  void setOrigins(Dashboard::Origins origins) { dashboard_.setOrigins(std::move(origins)); }
  const CreativeCatalogue& catalogue() const { return catalogue_; }
  const Stats& stats() const { return stats_; }

 private:
  Stats stats_;
  SignalReader signals_;
  CreativeCatalogue catalogue_;
  CreativeChooser chooser_;
  ContentSite site_;
  ScriptHost script_;
  AdServer adServer_;
  TrackingEndpoints tracking_;
  ControlApi control_;
  Dashboard dashboard_;
  LandingPages landing_;
};
