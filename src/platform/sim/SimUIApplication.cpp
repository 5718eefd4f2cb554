#include "platform/sim/SimUIApplication.h"

#include <algorithm>
#include <cctype>
#include <stdexcept>

#include "platform/base/AsciiText.h"
#include "platform/ui/Device.h"

namespace pf {

SimUIApplication& SimUIApplication::current() {
  auto* peer = dynamic_cast<SimUIApplication*>(&Application::sharedApplication()->peer());
  if (!peer) throw std::logic_error("the shared application was not made by the sim backend");
  return *peer;
}

bool SimUIApplication::canOpenURL(const Url& url) {
  if (auto it = scripted_.find(url.absoluteString()); it != scripted_.end()) return it->second;
  return Device::profile().openableURLSchemes.count(toLowerAscii(url.scheme())) != 0;
}

bool SimUIApplication::openURL(const Url& url) {
  if (!canOpenURL(url)) {
    refused_.push_back(url);
    return false;
  }
  opened_.push_back(url);
  return true;
}

void SimUIApplication::sendToBackground() { Application::sharedApplication()->enterBackground(); }

void SimUIApplication::bringToForeground() {
  auto app = Application::sharedApplication();
  app->enterForeground();
  app->becomeActive();
}

}  // namespace pf
