#pragma once
// GADWebView: the banner's web view. It shows the ad page and remembers whether the user has
// touched it since the ad was shown: the click test needs a real touch before a navigation
// counts as a click.
//
//   auto web = GADWebView::create({0, 0, 320, 50});
//   ... a touch reaches it through the window's hit test ...
//   if (web->touched()) ...
//
// Configured for ads: clips to its bounds, scales pages to fit, follows its superview's width
// and height, transparent, no data detectors; inline media without a user action where the
// device offers it (and AirPlay where offered).
#include <memory>

#include "platform/ui/WebView.h"
#include "sdk/view/GADWebViewPrivate.h"

class GADWebView : public pf::WebView {
 public:
  static std::shared_ptr<GADWebView> create(const pf::Rect& frame = {});
  ~GADWebView() override;

  bool touched() const;
  void setTouched(bool touched);
  // The private data in the registry (none only while being destroyed).
  std::shared_ptr<GADWebViewPrivate> vars() const;

  // Notes every touch that reaches the view, then answers as any web view.
  std::shared_ptr<pf::View> hitTest(pf::Point point, const pf::Event* event) override;

 private:
  explicit GADWebView(const pf::Rect& frame);
};
