#pragma once

#include "CreativeCatalogue.h"
#include "CreativeChooser.h"
#include "HttpHost.h"
#include "Stats.h"

// What tests and developers steer the ad server with:
//   /control/next?creative=NAME[&count=N][&delay_ms=N]  the next N ad requests get NAME
//   /control/reset                                      counters, history, queue, rotation
//   /stats.json                                         the counters
//   /creatives.json                                     the catalogue
class ControlApi {
 public:
  ControlApi(HttpHost& host, const CreativeCatalogue& catalogue, CreativeChooser& chooser, Stats& stats);

 private:
  void next(SoupServerMessage* msg);
  void creatives(SoupServerMessage* msg) const;

  const CreativeCatalogue& catalogue_;
  CreativeChooser& chooser_;
  Stats& stats_;
};
