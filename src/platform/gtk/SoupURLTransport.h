#pragma once
// pf::SoupURLTransport: the desktop's URL transport, over one libsoup 3 session.
//
// Each send() is one SoupExchange: one request, no redirect followed, no HTTP cache (the
// session has none; GADCachedFile-style revalidation is the caller's). The session decodes
// gzip/deflate/br bodies, as the phone's loader does, and keeps cookies in a Mozilla-style
// text jar, written as they change so they survive the process.
//
//   auto transport = std::make_shared<pf::SoupURLTransport>(
//       pf::SoupURLTransport::defaultCookieJarPath());
//   pf::URLTransport::install(transport);
//
// Cookies go with a request only when HTTPSettings::handlesCookies(its flag) says so; then
// the jar both sends them and stores what the response sets.
#include <libsoup/soup.h>

#include <memory>
#include <string>

#include "platform/gtk/GObjectRef.h"
#include "platform/net/URLTransport.h"

namespace pf {

class SoupURLTransport final : public URLTransport {
 public:
  // Connections at once to one host; the phone's loader allowed about this many, and the ad
  // layer fetches its script, its ad and trackers side by side.
  static constexpr int kMaxConnectionsPerHost = 6;
  static constexpr int kMaxConnections = 24;

  // `cookieJarPath` empty: cookies kept in memory only. The jar's folder is created if missing.
  explicit SoupURLTransport(const std::string& cookieJarPath);
  ~SoupURLTransport() override;
  SoupURLTransport(const SoupURLTransport&) = delete;
  SoupURLTransport& operator=(const SoupURLTransport&) = delete;

  // <data folder>/cookies.txt, from pf::FileManager's locations now.
  static std::string defaultCookieJarPath();
  // Sent when neither the request nor HTTPSettings gives a user agent.
  static std::string defaultUserAgent();

  std::shared_ptr<URLExchange> send(const URLRequest& request,
                                    std::weak_ptr<URLExchangeClient> client) override;

  SoupSession* session() const { return session_.get(); }
  const std::string& cookieJarPath() const { return cookieJarPath_; }

 private:
  GObjectRef<SoupSession> session_;
  std::string cookieJarPath_;
};

}  // namespace pf
