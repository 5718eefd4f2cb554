#pragma once
// pf::WebViewDelegate: decides every navigation of a pf::WebView and hears how its loads go
// (UIWebViewDelegate on the phone). All optional; the defaults allow everything. The view
// is passed strongly held: a delegate may drop its own last reference to it meanwhile.
#include <memory>

#include "platform/base/Error.h"
#include "platform/net/URLRequest.h"
#include "platform/ui/WebViewPeer.h"

namespace pf {

class WebView;

class WebViewDelegate {
 public:
  virtual ~WebViewDelegate() = default;
  virtual bool webViewShouldStartLoadWithRequest(const std::shared_ptr<WebView>& /*view*/,
                                                 const URLRequest& /*request*/,
                                                 WebViewNavigationType /*type*/) {
    return true;
  }
  virtual void webViewDidStartLoad(const std::shared_ptr<WebView>& /*view*/) {}
  virtual void webViewDidFinishLoad(const std::shared_ptr<WebView>& /*view*/) {}
  virtual void webViewDidFailLoadWithError(const std::shared_ptr<WebView>& /*view*/, const Error& /*error*/) {}
};

}  // namespace pf
