#pragma once
// GADBrowserWebViewDelegate: the delegate of the in-app browser's page. On top of the base
// delegate it keeps the toolbar current and counts what the statistics report: the landing
// page's load time ("plpl", first start to first finish) and the time spent on it ("plpd",
// from then until the browser goes), and the page navigations the user makes (http and https
// apart).
#include <memory>

#include "sdk/view/GADWebViewDelegate.h"

class GADBrowserController;

class GADBrowserWebViewDelegate : public GADWebViewDelegate {
 public:
  static std::shared_ptr<GADBrowserWebViewDelegate> createWithBrowserController(
      const std::shared_ptr<GADBrowserController>& browser);

  bool webViewShouldStartLoadWithRequest(const std::shared_ptr<pf::WebView>& view, const pf::URLRequest& request,
                                         pf::WebViewNavigationType type) override;
  void webViewDidStartLoad(const std::shared_ptr<pf::WebView>& view) override;
  void webViewDidFinishLoad(const std::shared_ptr<pf::WebView>& view) override;
  void webViewDidFailLoadWithError(const std::shared_ptr<pf::WebView>& view, const pf::Error& error) override;

 private:
  GADBrowserWebViewDelegate() = default;
  void refresh();

  std::weak_ptr<GADBrowserController> browserController_;  // the browser owns us
};
