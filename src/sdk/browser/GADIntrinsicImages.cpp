#include "sdk/browser/GADIntrinsicImages.h"

#include <cmath>

#include "platform/ui/Device.h"
#include "platform/ui/Image.h"
#include "sdk/browser/GADIntrinsicImagesData.h"
#include "sdk/encoding/GAD_DOZStringEncoding.h"

namespace {

// The pictures are drawn at twice the size they are shown at.
constexpr double kImageScale = 2.0;

struct Cache {
  std::shared_ptr<const pf::Image> closeButton;
  std::shared_ptr<const pf::Image> browserBackButton;
  std::shared_ptr<const pf::Image> browserForwardButton;
};

Cache& cache() {
  static Cache images;
  return images;
}

// The cached image in `slot`, made from `text` when there is none yet.
std::shared_ptr<const pf::Image> cached(std::shared_ptr<const pf::Image>& slot, std::string_view text) {
  if (!slot) slot = GADIntrinsicImages::createImageFromEncoding(text);
  return slot;
}

}  // namespace

std::shared_ptr<const pf::Image> GADIntrinsicImages::closeButton() {
  return cached(cache().closeButton, kGADIntrinsicCloseButtonPNGBase64);
}

std::shared_ptr<const pf::Image> GADIntrinsicImages::browserBackButton() {
  return cached(cache().browserBackButton, kGADIntrinsicBrowserBackButtonPNGBase64);
}

std::shared_ptr<const pf::Image> GADIntrinsicImages::browserForwardButton() {
  return cached(cache().browserForwardButton, kGADIntrinsicBrowserForwardButtonPNGBase64);
}

std::shared_ptr<const pf::Image> GADIntrinsicImages::createImageFromEncoding(std::string_view text) {
  auto bytes = GAD_DOZStringEncoding::rfc4648Base64StringEncoding().decode(text);
  if (!bytes) return nullptr;
  auto image = pf::Image::imageWithData(std::move(*bytes));
  if (!image) return nullptr;
  if (pf::Device::offers(pf::Capability::ImageScale)) return pf::Image::imageWithImage(*image, kImageScale);
  // No scale factor on this device: the same picture redrawn into half as many pixels.
  pf::Size points = image->size();
  pf::Size half{std::roundf(float(points.width / kImageScale)), std::roundf(float(points.height / kImageScale))};
  return pf::Image::redrawn(*image, half);
}

void GADIntrinsicImages::forgetCachedImagesForTesting() { cache() = Cache{}; }
