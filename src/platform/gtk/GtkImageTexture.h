#pragma once
// pf::GtkImageTexture: a pf::Image as a GDK texture to draw, and a picture widget showing it
// at its size in points (pixels divided by the scale factor, so a scale-2 image is sharp on
// a scale-2 monitor). An image redrawn at another pixel size is resampled here.
#include <gtk/gtk.h>

#include "platform/gtk/GObjectRef.h"
#include "platform/ui/Image.h"

namespace pf {

class GtkImageTexture {
 public:
  // None when the bytes do not decode.
  static GObjectRef<GdkTexture> texture(const Image& image);
  // A GtkPicture (floating) of the image at its point size (centred where it has more room);
  // empty when it does not decode.
  static GtkWidget* picture(const Image& image);

  GtkImageTexture() = delete;
};

}  // namespace pf
