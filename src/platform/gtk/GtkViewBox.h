#pragma once
// pf::GtkViewBox: the GTK widget that stands for one pf::View. The neutral layer does the
// layout, so this container does none: each child that has a frame is placed exactly there
// (in the box's bounds coordinates), and a child without one — the view's own content, a
// web engine, a label, a spinner — fills the box beneath the subviews. Children are drawn in
// their order, first at the bottom, over the box's background colour. A child may reach
// outside the box unless the box clips.
//
//   GtkWidget* box = pf::GtkViewBox::create();
//   pf::GtkViewBox::setChildFrame(child, {0, 361, 320, 50});
//   pf::GtkViewBox::insertChild(box, child, nullptr);   // on top
#include <gtk/gtk.h>

#include <optional>

#include "platform/ui/Color.h"
#include "platform/ui/Geometry.h"

namespace pf {

class GtkViewBox {
 public:
  // A new box (floating reference).
  static GtkWidget* create();
  static bool isBox(GtkWidget* widget);

  // Where `child` goes in its box (kept on the child, so it may be set before it is added).
  static void setChildFrame(GtkWidget* child, const Rect& frame);
  static std::optional<Rect> childFrame(GtkWidget* child);
  // The box's bounds origin: what its children's frames are relative to.
  static void setBoundsOrigin(GtkWidget* box, Point origin);
  static void setBackground(GtkWidget* box, const Color& color);

  // Adds `child` below `sibling` (on top when `sibling` is none).
  static void insertChild(GtkWidget* box, GtkWidget* child, GtkWidget* sibling);
  // Adds a content child: below every child already there.
  static void insertContent(GtkWidget* box, GtkWidget* child);

  GtkViewBox() = delete;
};

}  // namespace pf
