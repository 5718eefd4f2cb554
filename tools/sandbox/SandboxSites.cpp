#include "SandboxSites.h"

SandboxSites::SandboxSites(Routers routers, const WwwRoot& www, AdServer::Settings settings)
    : catalogue_(www),
      chooser_(catalogue_),
      site_(routers.content, www),
      script_(routers.statics, www, stats_),
      adServer_(routers.ad, catalogue_, www, chooser_, stats_, settings),
      tracking_(routers.ad, stats_),
      control_(routers.ad, catalogue_, chooser_, stats_),
      dashboard_(routers.ad, www, catalogue_, chooser_, stats_),
      landing_(routers.ad, www, stats_, settings.landingDelayMs) {}
