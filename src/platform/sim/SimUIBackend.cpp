#include "platform/sim/SimUIBackend.h"

#include "platform/sim/SimUIAlertView.h"
#include "platform/sim/SimUIApplication.h"
#include "platform/sim/SimUIMailComposer.h"
#include "platform/sim/SimUIWebView.h"
#include "platform/ui/Control.h"
#include "platform/ui/Window.h"

namespace pf {

std::unique_ptr<WebViewPeer> SimUIBackend::makeWebViewPeer(WebView& view, WebViewPeerHost& host) {
  return std::make_unique<SimUIWebView>(view, host);
}

std::unique_ptr<AlertViewPeer> SimUIBackend::makeAlertViewPeer(AlertView&) {
  return std::make_unique<SimUIAlertView>();
}

std::unique_ptr<MailComposerPeer> SimUIBackend::makeMailComposerPeer(MailComposeViewController& composer) {
  return std::make_unique<SimUIMailComposer>(composer);
}

std::unique_ptr<ApplicationPeer> SimUIBackend::makeApplicationPeer(Application&) {
  return std::make_unique<SimUIApplication>();
}

std::shared_ptr<View> SimUIBackend::touch(View& view, Point point) {
  if (auto window = view.window()) return window->sendTouch(view.convertPointToView(point, window.get()));
  std::shared_ptr<View> root = view.shared_from_this();
  while (auto up = root->superview()) root = up;
  Point p = view.convertPointToView(point, root.get());
  // The root's own frame does not move its coordinates.
  p = {p.x - root->frame().origin.x + root->bounds().origin.x, p.y - root->frame().origin.y + root->bounds().origin.y};
  return Control::deliverTouch(*root, p);
}

}  // namespace pf
