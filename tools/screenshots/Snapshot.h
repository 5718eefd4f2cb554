#pragma once
// Pictures of what is on screen, as PNG files, for the screenshots and the e2e tests: a GTK
// widget rendered the way GTK draws it, or a texture (a web view's snapshot), saved and
// measured. A blank picture has one or two colours; a page people can read has many.
//
//   auto shot = shots::save(shots::render(GTK_WIDGET(window)), "out/window.png");
//   if (!shot.saved || shot.colours < 12) ...
#include <gtk/gtk.h>

#include <string>

namespace shots {

struct Snapshot {
  bool saved = false;
  int width = 0;
  int height = 0;
  size_t colours = 0;  // distinct colours among sampled pixels
  std::string error;
};

// `widget` (a window: all of it) as GTK draws it; nullptr when it is not shown.
GdkTexture* render(GtkWidget* widget);
// Saves `texture` as PNG at `path` and measures it; takes the texture (nullptr: an error).
Snapshot save(GdkTexture* texture, const std::string& path);

}  // namespace shots
