#pragma once
// GADIntrinsicImages: the button pictures the ad layer carries inside itself, so it never
// depends on the hosting app's resources — the close button of the full-screen web-app
// overlay and the back and forward buttons of the in-app browser's toolbar.
//
//   button->setImage(GADIntrinsicImages::closeButton(), pf::ControlState::Normal);
//   auto back = GADIntrinsicImages::browserBackButton();   // 27 × 27 points
//
// Each picture is kept as Base64 text of a PNG drawn at twice its point size
// (GADIntrinsicImagesData.h). A getter decodes its picture on first call and hands out the
// same image for the life of the process. Where the platform's image carries a scale factor
// the image is the bitmap at scale 2; elsewhere it is the bitmap redrawn at half its pixel
// size. Either way it measures half its pixel size in points. Main thread only.
#include <memory>
#include <string_view>

namespace pf {
class Image;
}

class GADIntrinsicImages {
 public:
  GADIntrinsicImages() = delete;

  static std::shared_ptr<const pf::Image> closeButton();           // 50 × 50 pixels, 25 × 25 points
  static std::shared_ptr<const pf::Image> browserBackButton();     // 54 × 54 pixels, 27 × 27 points
  static std::shared_ptr<const pf::Image> browserForwardButton();  // 54 × 54 pixels, 27 × 27 points

  // The image of a PNG given as RFC 4648 Base64 text, at half its pixel size in points (see
  // above); none when the text does not decode or the bytes are no PNG.
  static std::shared_ptr<const pf::Image> createImageFromEncoding(std::string_view text);

  // Forgets the cached images, so the next getter call decodes afresh for the device now
  // installed (tests and tools that switch devices within one process).
  static void forgetCachedImagesForTesting();
};
