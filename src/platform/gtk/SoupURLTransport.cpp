#include "platform/gtk/SoupURLTransport.h"

#include "platform/base/FileManager.h"
#include "platform/base/Log.h"
#include "platform/gtk/SoupExchange.h"

namespace pf {

SoupURLTransport::SoupURLTransport(const std::string& cookieJarPath)
    : cookieJarPath_(cookieJarPath) {
  // No session-wide user agent: libsoup would write it over the request's own "User-Agent",
  // and the connection has already put the right one there. Timeouts are the connection's
  // (its idle time-out per request), so the session adds none of its own.
  session_ = GObjectRef<SoupSession>::adopt(soup_session_new_with_options(
      "max-conns-per-host", kMaxConnectionsPerHost, "max-conns", kMaxConnections, "timeout", 0u,
      nullptr));

  GObjectRef<SoupCookieJar> jar;
  if (!cookieJarPath_.empty()) {
    Error error("", 0);
    const std::string folder = FileManager::directoryOf(cookieJarPath_);
    if (!FileManager::defaultManager().createDirectory(folder, true, &error))
      Log::message("Cookie jar folder " + folder + ": " + error.localizedDescription());
    jar = GObjectRef<SoupCookieJar>::adopt(soup_cookie_jar_text_new(cookieJarPath_.c_str(), FALSE));
  } else {
    jar = GObjectRef<SoupCookieJar>::adopt(soup_cookie_jar_new());
  }
  soup_session_add_feature(session_.get(), SOUP_SESSION_FEATURE(jar.get()));
}

// Exchanges still running hold their own reference to the session and end on their own: a
// transport replaced mid-load does not cut its loads short (aborting them would leave their
// connections waiting for an answer that never comes).
SoupURLTransport::~SoupURLTransport() = default;

std::string SoupURLTransport::defaultCookieJarPath() {
  return FileManager::defaultManager().locations().data + "/cookies.txt";
}

std::string SoupURLTransport::defaultUserAgent() {
  return "Ashenmoor libsoup/" + std::to_string(soup_get_major_version()) + "." +
         std::to_string(soup_get_minor_version()) + "." + std::to_string(soup_get_micro_version());
}

std::shared_ptr<URLExchange> SoupURLTransport::send(const URLRequest& request,
                                                    std::weak_ptr<URLExchangeClient> client) {
  if (request.valueForHTTPHeaderField("User-Agent"))
    return SoupExchange::start(session_.get(), request, std::move(client));
  URLRequest wire = request;
  wire.setValueForHTTPHeaderField(defaultUserAgent(), "User-Agent");
  return SoupExchange::start(session_.get(), wire, std::move(client));
}

}  // namespace pf
