#pragma once
// GADViewController: the full-screen controllers' common ground. What the ad objects need of
// it: the orientation codes the ad server and ad pages name, and the two notifications every
// ad object listens to, posted on the default notification center with the presenting
// controller as object, to pause refresh while full-screen content covers the screen.
//
//   supportedOrientations_ = GADViewController::orientationFromString("landscape");   // 3
#include <string_view>

inline constexpr char GADViewControllerWillPresentFullScreen[] = "GADViewControllerWillPresentFullScreen";
inline constexpr char GADViewControllerDidRelinquishFullScreen[] = "GADViewControllerDidRelinquishFullScreen";

// Orientations full-screen content may take.
enum GADOrientation : int {
  kGADOrientationNotGiven = 0,
  kGADOrientationAny = 1,
  kGADOrientationPortrait = 2,
  kGADOrientationLandscape = 3,
};

class GADViewController {
 public:
  GADViewController() = delete;

  // "any" 1, "portrait" 2, "landscape" 3; anything else (other letter case too) 0.
  static int orientationFromString(std::string_view text) {
    if (text == "any") return kGADOrientationAny;
    if (text == "portrait") return kGADOrientationPortrait;
    if (text == "landscape") return kGADOrientationLandscape;
    return kGADOrientationNotGiven;
  }
};
