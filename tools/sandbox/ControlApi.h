#pragma once

#include "Answer.h"
#include "CreativeCatalogue.h"
#include "CreativeChooser.h"
#include "Request.h"
#include "Router.h"
#include "Stats.h"

#include <vector>

// What tests and developers steer the ad server with:
//   /control/next?creative=NAME[&count=N][&delay_ms=N]  the next N ad requests get NAME
//   /control/reset                                      counters, history, queue, rotation
//   /stats.json                                         the counters
//   /creatives.json                                     the catalogue
class ControlApi {
 public:
  ControlApi(Router& router, const CreativeCatalogue& catalogue, CreativeChooser& chooser, Stats& stats);
  ControlApi(const ControlApi&) = delete;
  ControlApi& operator=(const ControlApi&) = delete;

 private:
  Answer next(const Request& request);
  Answer creatives() const;

  const CreativeCatalogue& catalogue_;
  CreativeChooser& chooser_;
  Stats& stats_;
  std::vector<Router::Route> routes_;  // last: removed before anything they use
};
