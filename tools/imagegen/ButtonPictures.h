#pragma once
// The ad layer's built-in button pictures, drawn with cairo at twice their point size (the
// pixels GADIntrinsicImages carries). Each is an ARGB32 surface the caller destroys.
//
//   cairo_surface_t* close = ButtonPictures::closeButton();   // 50 × 50
//   cairo_surface_write_to_png(close, "close.png");
#include <cairo.h>

namespace ButtonPictures {

// A black disc with a white rim and a white diagonal cross, over a soft drop shadow.
cairo_surface_t* closeButton();
// A white triangle pointing left, a dark edge along its upper side.
cairo_surface_t* browserBackButton();
// browserBackButton() mirrored left to right, pixel for pixel.
cairo_surface_t* browserForwardButton();

}  // namespace ButtonPictures
