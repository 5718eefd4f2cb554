#include "platform/ui/Screen.h"

#include "platform/ui/Application.h"
#include "platform/ui/Device.h"

namespace pf {

Rect Screen::bounds() { return Device::profile().screenBounds; }

double Screen::scale() {
  return Device::offers(Capability::ScreenScale) ? Device::profile().screenScale : 1.0;
}

Rect Screen::applicationFrame() {
  Rect b = bounds();
  auto app = Application::sharedApplication();
  if (!app) return Rect(0, kStatusBarHeight, b.width(), b.height() - kStatusBarHeight);
  Rect bar = app->statusBarFrame();
  if (bar.isEmpty()) return b;
  switch (app->statusBarOrientation()) {
    case InterfaceOrientation::Portrait:
      return Rect(0, bar.height(), b.width(), b.height() - bar.height());
    case InterfaceOrientation::PortraitUpsideDown:
      return Rect(0, 0, b.width(), b.height() - bar.height());
    case InterfaceOrientation::LandscapeRight:
      return Rect(bar.width(), 0, b.width() - bar.width(), b.height());
    case InterfaceOrientation::LandscapeLeft:
      return Rect(0, 0, b.width() - bar.width(), b.height());
  }
  return b;
}

}  // namespace pf
