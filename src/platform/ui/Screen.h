#pragma once
// pf::Screen: the main screen (UIScreen mainScreen on the phone). Its bounds and scale come
// from the device profile; the application frame is the bounds less the status bar when the
// status bar shows. As on the phone, frames are in the fixed portrait coordinates of the
// screen: in landscape the status bar is a 20-point strip along a long side.
#include "platform/ui/Geometry.h"

namespace pf {

class Screen {
 public:
  static constexpr double kStatusBarHeight = 20;

  static Rect bounds();
  static double scale();  // 1.0 where the device does not offer a scale
  static Rect applicationFrame();
};

}  // namespace pf
