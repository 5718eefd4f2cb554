#pragma once
// pf::Image: a picture as its encoded bytes (PNG), its size in pixels and its scale factor
// (UIImage on the phone). size() is in points: pixels divided by the scale. Decoding the
// pixels is the drawing backend's job; this class reads only the PNG header.
//
//   auto img = pf::Image::imageWithData(pngBytes);            // none: not a PNG
//   auto retina = pf::Image::imageWithImage(*img, 2.0);       // same bitmap, half the points
#include <memory>
#include <optional>
#include <string>

#include "platform/ui/Geometry.h"

namespace pf {

class Image {
 public:
  // None when the bytes are not a PNG with a readable header.
  static std::shared_ptr<const Image> imageWithData(std::string bytes, double scale = 1.0);
  // The same bitmap with another scale factor (initWithCGImage:scale:… on the phone;
  // ask Device::offers(Capability::ImageScale) first, as phone code asks).
  static std::shared_ptr<const Image> imageWithImage(const Image& image, double scale);
  // The picture redrawn at `pixelSize`, scale 1 (what phone code does by drawing into a
  // smaller bitmap context). The backend resamples when it decodes.
  static std::shared_ptr<const Image> redrawn(const Image& image, Size pixelSize);

  // The pixel size a PNG header declares; none when `bytes` is no PNG.
  static std::optional<Size> pngPixelSize(const std::string& bytes);

  const std::string& data() const { return data_; }
  Size pixelSize() const { return pixelSize_; }  // the size to draw the bitmap at, in pixels
  Size sourcePixelSize() const { return sourcePixelSize_; }  // what the bytes hold
  double scale() const { return scale_; }
  Size size() const { return {pixelSize_.width / scale_, pixelSize_.height / scale_}; }

 private:
  Image(std::string data, Size source, Size pixels, double scale)
      : data_(std::move(data)), sourcePixelSize_(source), pixelSize_(pixels), scale_(scale) {}

  std::string data_;
  Size sourcePixelSize_;
  Size pixelSize_;
  double scale_;
};

}  // namespace pf
