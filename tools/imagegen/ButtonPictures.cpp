#include "ButtonPictures.h"

#include <cmath>
#include <cstdint>
#include <cstring>
#include <vector>

namespace ButtonPictures {
namespace {

// Close button, 50 × 50 pixels. The disc sits a little above the middle so the shadow,
// which falls downwards, has room below it.
constexpr int kCloseSize = 50;
constexpr double kDiscX = 25.0, kDiscY = 24.0;
constexpr double kDiscRadius = 19.5;    // to the outside of the rim
constexpr double kRimWidth = 3.0;       // 1.5 points
constexpr double kCrossReach = 6.75;    // from the middle to the end of an arm, along x and y
constexpr double kCrossWidth = 3.5;
constexpr double kShadowDrop = 1.5;
constexpr double kShadowSigma = 1.6;
constexpr double kShadowAlpha = 0.6;

// Browser buttons, 54 × 54 pixels. Every corner of the triangle lies on a pixel corner, at
// both scales (the half-size corners are whole numbers too), so its straight side is sharp.
constexpr int kBrowserSize = 54;
constexpr double kTipX = 16.0, kBaseX = 38.0;  // tip and straight side
constexpr double kTopY = 14.0, kBottomY = 40.0, kMiddleY = 27.0;
constexpr double kEdgeLift = 2.0;  // the dark edge: the triangle's shape 1 point higher
constexpr double kEdgeAlpha = 0.65;

cairo_surface_t* newSurface(int size) {
  cairo_surface_t* s = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, size, size);
  cairo_t* cr = cairo_create(s);
  cairo_set_operator(cr, CAIRO_OPERATOR_CLEAR);
  cairo_paint(cr);
  cairo_destroy(cr);
  return s;
}

// Blurs an A8 surface in place with a Gaussian of `sigma` pixels (two 1-D passes).
void gaussianBlur(cairo_surface_t* mask, double sigma) {
  cairo_surface_flush(mask);
  const int w = cairo_image_surface_get_width(mask), h = cairo_image_surface_get_height(mask);
  const int stride = cairo_image_surface_get_stride(mask);
  unsigned char* data = cairo_image_surface_get_data(mask);

  const int radius = int(std::ceil(3 * sigma));
  std::vector<double> kernel(2 * radius + 1);
  double sum = 0;
  for (int i = -radius; i <= radius; ++i) sum += kernel[i + radius] = std::exp(-i * i / (2 * sigma * sigma));
  for (double& k : kernel) k /= sum;

  std::vector<double> a(size_t(w) * h), b(size_t(w) * h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) a[y * w + x] = data[y * stride + x];
  auto pass = [&](const std::vector<double>& in, std::vector<double>& out, int dx, int dy) {
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x) {
        double v = 0;
        for (int i = -radius; i <= radius; ++i) {
          int sx = x + i * dx, sy = y + i * dy;
          if (sx >= 0 && sx < w && sy >= 0 && sy < h) v += kernel[i + radius] * in[sy * w + sx];
        }
        out[y * w + x] = v;
      }
  };
  pass(a, b, 1, 0);
  pass(b, a, 0, 1);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) data[y * stride + x] = uint8_t(std::lround(std::fmin(255.0, a[y * w + x])));
  cairo_surface_mark_dirty(mask);
}

void disc(cairo_t* cr, double x, double y, double radius) {
  cairo_new_path(cr);
  cairo_arc(cr, x, y, radius, 0, 2 * M_PI);
  cairo_fill(cr);
}

void backTriangle(cairo_t* cr, double lift) {
  cairo_new_path(cr);
  cairo_move_to(cr, kTipX, kMiddleY - lift);
  cairo_line_to(cr, kBaseX, kTopY - lift);
  cairo_line_to(cr, kBaseX, kBottomY - lift);
  cairo_close_path(cr);
  cairo_fill(cr);
}

}  // namespace

cairo_surface_t* closeButton() {
  cairo_surface_t* out = newSurface(kCloseSize);
  cairo_t* cr = cairo_create(out);
  cairo_set_antialias(cr, CAIRO_ANTIALIAS_BEST);

  // The shadow: the disc's silhouette, dropped and blurred.
  cairo_surface_t* shadow = cairo_image_surface_create(CAIRO_FORMAT_A8, kCloseSize, kCloseSize);
  cairo_t* scr = cairo_create(shadow);
  cairo_set_antialias(scr, CAIRO_ANTIALIAS_BEST);
  disc(scr, kDiscX, kDiscY + kShadowDrop, kDiscRadius);
  cairo_destroy(scr);
  gaussianBlur(shadow, kShadowSigma);
  cairo_set_source_rgba(cr, 0, 0, 0, kShadowAlpha);
  cairo_mask_surface(cr, shadow, 0, 0);
  cairo_surface_destroy(shadow);

  cairo_set_source_rgb(cr, 1, 1, 1);
  disc(cr, kDiscX, kDiscY, kDiscRadius);
  cairo_set_source_rgb(cr, 0, 0, 0);
  disc(cr, kDiscX, kDiscY, kDiscRadius - kRimWidth);

  cairo_set_source_rgb(cr, 1, 1, 1);
  cairo_set_line_width(cr, kCrossWidth);
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
  cairo_move_to(cr, kDiscX - kCrossReach, kDiscY - kCrossReach);
  cairo_line_to(cr, kDiscX + kCrossReach, kDiscY + kCrossReach);
  cairo_move_to(cr, kDiscX + kCrossReach, kDiscY - kCrossReach);
  cairo_line_to(cr, kDiscX - kCrossReach, kDiscY + kCrossReach);
  cairo_stroke(cr);

  cairo_destroy(cr);
  cairo_surface_flush(out);
  return out;
}

cairo_surface_t* browserBackButton() {
  cairo_surface_t* out = newSurface(kBrowserSize);
  cairo_t* cr = cairo_create(out);
  cairo_set_antialias(cr, CAIRO_ANTIALIAS_BEST);
  cairo_set_source_rgba(cr, 0, 0, 0, kEdgeAlpha);
  backTriangle(cr, kEdgeLift);
  cairo_set_source_rgb(cr, 1, 1, 1);
  backTriangle(cr, 0);
  cairo_destroy(cr);
  cairo_surface_flush(out);
  return out;
}

cairo_surface_t* browserForwardButton() {
  cairo_surface_t* back = browserBackButton();
  cairo_surface_t* out = newSurface(kBrowserSize);
  cairo_surface_flush(out);
  const int stride = cairo_image_surface_get_stride(back);
  const auto* from = reinterpret_cast<const uint32_t*>(cairo_image_surface_get_data(back));
  auto* to = reinterpret_cast<uint32_t*>(cairo_image_surface_get_data(out));
  for (int y = 0; y < kBrowserSize; ++y)
    for (int x = 0; x < kBrowserSize; ++x)
      to[y * stride / 4 + x] = from[y * stride / 4 + (kBrowserSize - 1 - x)];
  cairo_surface_mark_dirty(out);
  cairo_surface_destroy(back);
  return out;
}

}  // namespace ButtonPictures
