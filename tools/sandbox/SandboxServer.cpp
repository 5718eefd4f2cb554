#include "SandboxServer.h"

SandboxServer::SandboxServer(const SandboxOptions& options, const std::string& wwwDir)
    : options_(options),
      www_(wwwDir),
      catalogue_(www_),
      chooser_(catalogue_),
      site_(content_, www_),
      script_(static_, www_, stats_),
      adServer_(ad_, catalogue_, www_, chooser_, stats_, {options.refreshSeconds, options.slowDelayMs}),
      tracking_(ad_, stats_),
      control_(ad_, catalogue_, chooser_, stats_),
      dashboard_(ad_, www_, catalogue_, chooser_, stats_),
      landing_(www_, "ad/landing") {
  ad_.route("/landing", [this](SoupServerMessage* msg) { landing_.serve(msg, "/landing"); });
}

bool SandboxServer::start(GError** error) {
  if (!content_.listen(options_.host, static_cast<guint16>(options_.contentPort), error) ||
      !static_.listen(options_.host, static_cast<guint16>(options_.staticPort), error) ||
      !ad_.listen(options_.host, static_cast<guint16>(options_.adPort), error)) {
    return false;
  }
  dashboard_.setOrigins({content_.origin(), static_.origin(), ad_.origin()});
  return true;
}

std::string SandboxServer::readyLine() const {
  return "ready content=" + std::to_string(content_.port()) + " static=" + std::to_string(static_.port()) +
         " ad=" + std::to_string(ad_.port());
}

std::string SandboxServer::creativesHelp(const CreativeCatalogue& catalogue) {
  std::string out = "Creatives (rotating ones marked *):";
  for (const auto& c : catalogue.all()) {
    out += "\n  " + std::string(c.rotates ? "* " : "  ") + c.name;
    out.append(c.name.size() < 22 ? 22 - c.name.size() : 1, ' ');
    out += c.summary;
  }
  return out;
}
