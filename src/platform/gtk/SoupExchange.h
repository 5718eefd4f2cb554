#pragma once
// pf::SoupExchange: one request on a libsoup session — the desktop's URLExchange.
//
// The request goes out as it is (method, header fields, body) with SOUP_MESSAGE_NO_REDIRECT:
// a 3xx comes back as a response, and URLConnection decides about it. The body is read in
// chunks as they arrive and handed on in order. Failures carry the URL error codes the
// phone's loader gives: could not connect (-1004), host not found (-1003), timed out
// (-1001), connection lost (-1005). A body cut short counts as lost too, even where libsoup
// itself reports a clean end (a server that closes before its Content-Length is met).
//
// Every libsoup callback carries a heap weak handle, not `this`: after cancel() or the
// object's end, callbacks still queued in GLib find nothing to call and only free their
// results. cancel() also cancels the GCancellable, which makes libsoup drop the connection.
#include <libsoup/soup.h>

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "platform/gtk/GObjectRef.h"
#include "platform/net/URLExchange.h"
#include "platform/net/URLRequest.h"

namespace pf {

class SoupExchange final : public URLExchange, public std::enable_shared_from_this<SoupExchange> {
 public:
  static constexpr gsize kReadChunkSize = 64 * 1024;

  // Sends `request` on `session`; the first event reaches `client` from the GLib main loop,
  // never from inside start(). Cookies go with it when HTTPSettings allows them for it.
  static std::shared_ptr<SoupExchange> start(SoupSession* session, const URLRequest& request,
                                             std::weak_ptr<URLExchangeClient> client);
  ~SoupExchange() override;
  SoupExchange(const SoupExchange&) = delete;
  SoupExchange& operator=(const SoupExchange&) = delete;

  void cancel() override;

 private:
  using Handle = std::weak_ptr<SoupExchange>;

  SoupExchange(SoupSession* session, const URLRequest& request,
               std::weak_ptr<URLExchangeClient> client);
  void send();
  void failSoon(long code);

  static void sent(GObject* source, GAsyncResult* result, gpointer handle);
  static void read(GObject* source, GAsyncResult* result, gpointer handle);
  static void restoreCookieHeader(SoupMessage* message, gpointer self);

  void responded(GObjectRef<GInputStream> body);
  void readNext();
  void received(GBytes* bytes);
  void reachedEnd();
  void fail(const GError* error, bool midBody);
  void fail(long code, const GError* underlying);
  std::shared_ptr<URLExchangeClient> clientOrCancel();
  void stop();

  Url url_;
  std::weak_ptr<URLExchangeClient> client_;  // not retained
  GObjectRef<SoupSession> session_;
  GObjectRef<SoupMessage> message_;
  GObjectRef<GCancellable> cancellable_;
  GObjectRef<GInputStream> body_;
  std::optional<std::string> explicitCookie_;  // a "Cookie" the request set itself
  bool ended_ = false;
  // Body accounting, to notice a body cut short.
  int64_t expectedLength_ = -1;  // Content-Length, when the body is framed by it
  bool decoded_ = false;         // Content-Encoding applied: compare encoded bytes instead
  uint64_t received_ = 0;
};

}  // namespace pf
