#include "SandboxSites.h"

SandboxSites::SandboxSites(Routers routers, const WwwRoot& www, AdServer::Settings settings)
    : signals_(settings.signalsKey),
      catalogue_(www),
      chooser_(catalogue_),
      site_(routers.content, www),
      script_(routers.statics, www, stats_),
      adServer_(routers.ad, catalogue_, www, chooser_, signals_, stats_, settings),
      tracking_(routers.ad, signals_, stats_),
      control_(routers.ad, catalogue_, chooser_, stats_),
      dashboard_(routers.ad, www, catalogue_, chooser_, stats_),
      landing_(routers.ad, www, stats_, settings.landingDelayMs) {}
