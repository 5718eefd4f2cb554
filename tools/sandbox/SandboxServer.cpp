#include "SandboxServer.h"

SandboxServer::SandboxServer(const SandboxOptions& options, const std::string& wwwDir)
    : options_(options),
      www_(wwwDir),
      sites_({content_.router(), static_.router(), ad_.router()}, www_,
             {options.refreshSeconds, options.slowDelayMs, options.landingDelayMs, options.signalsKey}) {}

bool SandboxServer::start(GError** error) {
  if (!content_.listen(options_.host, static_cast<guint16>(options_.contentPort), error) ||
      !static_.listen(options_.host, static_cast<guint16>(options_.staticPort), error) ||
      !ad_.listen(options_.host, static_cast<guint16>(options_.adPort), error)) {
    return false;
  }
  sites_.setOrigins({content_.origin(), static_.origin(), ad_.origin()});
  return true;
}

void SandboxServer::stop(int timeoutMs) {
  for (HttpHost* host : {&content_, &static_, &ad_}) host->stop();
  const gint64 deadline = g_get_monotonic_time() + gint64(timeoutMs) * 1000;
  while (!(content_.idle() && static_.idle() && ad_.idle()) && g_get_monotonic_time() < deadline) {
    if (!g_main_context_iteration(nullptr, FALSE)) g_usleep(1000);
  }
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
