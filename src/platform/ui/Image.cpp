#include "platform/ui/Image.h"

#include <cmath>

namespace pf {
namespace {
uint32_t bigEndian32(const std::string& b, size_t at) {
  return uint32_t(uint8_t(b[at])) << 24 | uint32_t(uint8_t(b[at + 1])) << 16 |
         uint32_t(uint8_t(b[at + 2])) << 8 | uint32_t(uint8_t(b[at + 3]));
}
}  // namespace

// A PNG starts with its 8-byte signature, then the IHDR chunk: length 13, "IHDR", width and
// height as big-endian 32-bit numbers (each 1 to 2^31 - 1).
std::optional<Size> Image::pngPixelSize(const std::string& b) {
  static const char kSignature[] = "\x89PNG\r\n\x1a\n";
  if (b.size() < 8 + 8 + 13 || b.compare(0, 8, kSignature, 8) != 0) return std::nullopt;
  if (bigEndian32(b, 8) != 13 || b.compare(12, 4, "IHDR") != 0) return std::nullopt;
  uint32_t w = bigEndian32(b, 16), h = bigEndian32(b, 20);
  if (w == 0 || h == 0 || w > 0x7fffffffu || h > 0x7fffffffu) return std::nullopt;
  return Size{double(w), double(h)};
}

std::shared_ptr<const Image> Image::imageWithData(std::string bytes, double scale) {
  auto size = pngPixelSize(bytes);
  if (!size || !(scale > 0)) return nullptr;
  return std::shared_ptr<const Image>(new Image(std::move(bytes), *size, *size, scale));
}

std::shared_ptr<const Image> Image::imageWithImage(const Image& image, double scale) {
  if (!(scale > 0)) return nullptr;
  return std::shared_ptr<const Image>(new Image(image.data_, image.sourcePixelSize_, image.pixelSize_, scale));
}

std::shared_ptr<const Image> Image::redrawn(const Image& image, Size pixelSize) {
  Size rounded{std::round(pixelSize.width), std::round(pixelSize.height)};
  if (rounded.width <= 0 || rounded.height <= 0) return nullptr;
  return std::shared_ptr<const Image>(new Image(image.data_, image.sourcePixelSize_, rounded, 1.0));
}

}  // namespace pf
