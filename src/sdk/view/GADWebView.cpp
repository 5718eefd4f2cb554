#include "sdk/view/GADWebView.h"

#include "platform/ui/Device.h"
#include "sdk/utility/GADPrivateUtilities.h"

std::shared_ptr<GADWebView> GADWebView::create(const pf::Rect& frame) {
  return std::shared_ptr<GADWebView>(new GADWebView(frame));
}

GADWebView::GADWebView(const pf::Rect& frame) : pf::WebView(frame) {
  GADPrivateUtilities::setPrivateObjectForKey(std::make_shared<GADWebViewPrivate>(), this);
  setClipsToBounds(true);
  setScalesPageToFit(true);
  setAutoresizingMask(FlexibleWidth | FlexibleHeight);
  setOpaque(false);
  setBackgroundColor(pf::Color::clear());
  setDataDetectorTypes(DataDetectorNone);
  if (pf::Device::offers(pf::Capability::InlineMediaPlayback)) {
    setAllowsInlineMediaPlayback(true);
    setMediaPlaybackRequiresUserAction(false);
    if (pf::Device::offers(pf::Capability::MediaPlaybackAllowsAirPlay)) setMediaPlaybackAllowsAirPlay(true);
  }
}

GADWebView::~GADWebView() { GADPrivateUtilities::removePrivateObjectForKey(this); }

std::shared_ptr<GADWebViewPrivate> GADWebView::vars() const {
  return GADPrivateUtilities::privateObjectForKey<GADWebViewPrivate>(this);
}

bool GADWebView::touched() const {
  auto v = vars();
  return v && v->touched_;
}

void GADWebView::setTouched(bool touched) {
  if (auto v = vars()) v->touched_ = touched;
}

std::shared_ptr<pf::View> GADWebView::hitTest(pf::Point point, const pf::Event* event) {
  if (event && event->type() == pf::Event::Type::Touches) setTouched(true);
  return pf::WebView::hitTest(point, event);
}
