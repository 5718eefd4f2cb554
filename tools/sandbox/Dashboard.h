#pragma once

#include "CreativeCatalogue.h"
#include "CreativeChooser.h"
#include "Router.h"
#include "Stats.h"
#include "WwwRoot.h"

#include <string>

// "/" on the ad server: the counters (the application's signals among them), the
// per-creative table, the landing pages' loads and the decoded parameters and signal record
// of the latest ad requests, rendered on the server into www/ad/dashboard.html; the page
// reloads itself every two seconds.
class Dashboard {
 public:
  struct Origins {
    std::string content;
    std::string script;
    std::string ad;
  };

  Dashboard(Router& router, const WwwRoot& www, const CreativeCatalogue& catalogue, const CreativeChooser& chooser,
            const Stats& stats);
  Dashboard(const Dashboard&) = delete;
  Dashboard& operator=(const Dashboard&) = delete;
  void setOrigins(Origins origins) { origins_ = std::move(origins); }
  std::string render() const;

 private:
  std::string tiles() const;
  std::string creativeRows() const;
  std::string landingRows() const;
  std::string requestCards() const;

  const WwwRoot& www_;
  const CreativeCatalogue& catalogue_;
  const CreativeChooser& chooser_;
  const Stats& stats_;
  Origins origins_;
  Router::Route route_;  // last: removed before anything it uses
};
