#include "platform/gtk/GtkLabelPeer.h"

#include <algorithm>

namespace pf {

GtkLabelPeer::GtkLabelPeer() : label_(GTK_LABEL(gtk_label_new(""))) {
  gtk_label_set_xalign(label_, 0);
  gtk_label_set_ellipsize(label_, PANGO_ELLIPSIZE_END);
  binding_.addContent(GTK_WIDGET(label_));
  applyAttributes();
}

void GtkLabelPeer::setText(const std::string& text) { gtk_label_set_text(label_, text.c_str()); }

void GtkLabelPeer::setTextColor(const Color& color) {
  color_ = color;
  applyAttributes();
}

void GtkLabelPeer::setFontSize(double points) {
  points_ = points;
  applyAttributes();
}

// Pango attributes rather than CSS: per-label values need no style provider per widget.
void GtkLabelPeer::applyAttributes() {
  PangoAttrList* list = pango_attr_list_new();
  auto channel = [](double v) { return guint16(std::clamp(v, 0.0, 1.0) * 65535); };
  pango_attr_list_insert(list, pango_attr_foreground_new(channel(color_.red), channel(color_.green), channel(color_.blue)));
  pango_attr_list_insert(list, pango_attr_foreground_alpha_new(std::max<guint16>(1, channel(color_.alpha))));
  pango_attr_list_insert(list, pango_attr_size_new_absolute(int(points_ * PANGO_SCALE)));
  gtk_label_set_attributes(label_, list);
  pango_attr_list_unref(list);
}

void GtkLabelPeer::setTextAlignment(TextAlignment alignment) {
  float x = alignment == TextAlignment::Center ? 0.5f : alignment == TextAlignment::Right ? 1.0f : 0.0f;
  gtk_label_set_xalign(label_, x);
  gtk_label_set_justify(label_, alignment == TextAlignment::Center  ? GTK_JUSTIFY_CENTER
                                : alignment == TextAlignment::Right ? GTK_JUSTIFY_RIGHT
                                                                    : GTK_JUSTIFY_LEFT);
}

void GtkLabelPeer::setNumberOfLines(int lines) {
  gtk_label_set_wrap(label_, lines != 1);
  gtk_label_set_wrap_mode(label_, PANGO_WRAP_WORD_CHAR);
  gtk_label_set_lines(label_, lines > 0 ? lines : -1);
  gtk_label_set_ellipsize(label_, lines > 0 ? PANGO_ELLIPSIZE_END : PANGO_ELLIPSIZE_NONE);
}

}  // namespace pf
