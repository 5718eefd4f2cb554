#pragma once
// pf::WebViewPeer and pf::WebViewPeerHost: the engine behind a pf::WebView, and the way it
// reports back.
//
// Who decides what: loads the view starts itself (loadRequest, loadHTMLString, reload,
// goBack, goForward) are decided by pf::WebView before the peer hears of them — the peer
// must not ask again for the navigation it was told to start. Navigations the page starts
// (a link, a form, a script, a redirect) the peer puts to peerShouldStartLoad and carries
// out only on "yes". A started main-frame load is reported with peerDidStartLoad and ends
// with exactly one peerDidFinishLoad or peerDidFailLoad. The view may be destroyed during any
// host call; the peer is then destroyed too, so a peer touches nothing of its own after a
// host call returns unless it checked it is still alive (the host keeps the view alive for
// the duration of each call).
#include <cstdint>
#include <optional>
#include <string>

#include "platform/base/Error.h"
#include "platform/base/Url.h"
#include "platform/net/URLRequest.h"
#include "platform/ui/ViewPeer.h"

namespace pf {

// The phone toolkit's numbers (WebKit's are the same).
enum class WebViewNavigationType {
  LinkClicked = 0,
  FormSubmitted = 1,
  BackForward = 2,
  Reload = 3,
  FormResubmitted = 4,
  Other = 5,
};

class WebViewPeerHost {
 public:
  virtual bool peerShouldStartLoad(const URLRequest& request, WebViewNavigationType type) = 0;
  virtual void peerDidStartLoad() = 0;
  virtual void peerDidFinishLoad() = 0;
  virtual void peerDidFailLoad(const Error& error) = 0;
  // The answer to evaluateJavaScript(ticket, …): the result as text, none on failure.
  virtual void peerDidEvaluateJavaScript(uint64_t ticket, std::optional<std::string> result) = 0;

 protected:
  ~WebViewPeerHost() = default;
};

class WebViewPeer : public ViewPeer {
 public:
  virtual void loadRequest(const URLRequest& /*request*/) {}
  virtual void loadHTMLString(const std::string& /*html*/, const std::optional<Url>& /*baseURL*/) {}
  virtual void stopLoading() {}
  virtual void reload() {}
  virtual void goBack() {}
  virtual void goForward() {}
  // The request of the history entry `offset` steps away (-1 back, +1 forward), if any.
  virtual std::optional<URLRequest> historyRequest(int /*offset*/) const { return std::nullopt; }
  // Answer later (never inside this call) with peerDidEvaluateJavaScript(ticket, …).
  virtual void evaluateJavaScript(uint64_t /*ticket*/, const std::string& /*script*/) {}

  virtual void setScalesPageToFit(bool /*on*/) {}
  virtual void setDataDetectorTypes(unsigned /*types*/) {}
  virtual void setAllowsInlineMediaPlayback(bool /*on*/) {}
  virtual void setMediaPlaybackRequiresUserAction(bool /*on*/) {}
  virtual void setMediaPlaybackAllowsAirPlay(bool /*on*/) {}
  virtual void setScrollsToTop(bool /*on*/) {}
};

}  // namespace pf
