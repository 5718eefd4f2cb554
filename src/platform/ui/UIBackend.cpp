#include "platform/ui/UIBackend.h"

#include "platform/ui/ActivityIndicatorPeer.h"
#include "platform/ui/AlertViewPeer.h"
#include "platform/ui/ApplicationPeer.h"
#include "platform/ui/ButtonPeer.h"
#include "platform/ui/Device.h"
#include "platform/ui/LabelPeer.h"
#include "platform/ui/MailComposerPeer.h"
#include "platform/ui/TabBarPeer.h"
#include "platform/ui/ToolbarPeer.h"
#include "platform/ui/WebViewPeer.h"
#include "platform/ui/WindowPeer.h"

namespace pf {
namespace {
std::shared_ptr<UIBackend>& installed() {
  static std::shared_ptr<UIBackend> backend = std::make_shared<UIBackend>();
  return backend;
}
}  // namespace

UIBackend& UIBackend::current() { return *installed(); }

std::shared_ptr<UIBackend> UIBackend::install(std::shared_ptr<UIBackend> backend) {
  auto previous = std::move(installed());
  installed() = backend ? std::move(backend) : std::make_shared<UIBackend>();
  return previous;
}

std::unique_ptr<ViewPeer> UIBackend::makeViewPeer(View&) { return std::make_unique<ViewPeer>(); }
std::unique_ptr<WindowPeer> UIBackend::makeWindowPeer(Window&, WindowPlacement) { return std::make_unique<WindowPeer>(); }
std::unique_ptr<WebViewPeer> UIBackend::makeWebViewPeer(WebView&, WebViewPeerHost&) {
  return std::make_unique<WebViewPeer>();
}
std::unique_ptr<ButtonPeer> UIBackend::makeButtonPeer(Button&) { return std::make_unique<ButtonPeer>(); }
std::unique_ptr<LabelPeer> UIBackend::makeLabelPeer(Label&) { return std::make_unique<LabelPeer>(); }
std::unique_ptr<ActivityIndicatorPeer> UIBackend::makeActivityIndicatorPeer(ActivityIndicatorView&) {
  return std::make_unique<ActivityIndicatorPeer>();
}
std::unique_ptr<ToolbarPeer> UIBackend::makeToolbarPeer(Toolbar&) { return std::make_unique<ToolbarPeer>(); }
std::unique_ptr<TabBarPeer> UIBackend::makeTabBarPeer(TabBar&) { return std::make_unique<TabBarPeer>(); }
std::unique_ptr<AlertViewPeer> UIBackend::makeAlertViewPeer(AlertView&) {
  return std::make_unique<AlertViewPeer>();
}
std::unique_ptr<MailComposerPeer> UIBackend::makeMailComposerPeer(MailComposeViewController&) {
  return std::make_unique<MailComposerPeer>();
}
std::unique_ptr<ApplicationPeer> UIBackend::makeApplicationPeer(Application&) {
  return std::make_unique<ApplicationPeer>();
}

bool UIBackend::canSendMail() { return Device::profile().canSendMail; }

}  // namespace pf
