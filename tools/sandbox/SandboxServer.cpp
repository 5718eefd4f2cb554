#include "SandboxServer.h"

SandboxServer::SandboxServer(const SandboxOptions& options, const std::string& wwwDir)
    : options_(options),
      www_(wwwDir),
      sites_({content_.router(), static_.router(), ad_.router()}, www_,
             {options.refreshSeconds, options.slowDelayMs}) {}

bool SandboxServer::start(GError** error) {
  if (!content_.listen(options_.host, static_cast<guint16>(options_.contentPort), error) ||
      !static_.listen(options_.host, static_cast<guint16>(options_.staticPort), error) ||
      !ad_.listen(options_.host, static_cast<guint16>(options_.adPort), error)) {
    return false;
  }
  sites_.setOrigins({content_.origin(), static_.origin(), ad_.origin()});
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
