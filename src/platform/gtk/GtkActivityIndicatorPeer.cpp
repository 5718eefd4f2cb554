#include "platform/gtk/GtkActivityIndicatorPeer.h"

namespace pf {

GtkActivityIndicatorPeer::GtkActivityIndicatorPeer() : spinner_(GTK_SPINNER(gtk_spinner_new())) {
  binding_.addContent(GTK_WIDGET(spinner_));
  setStyle(ActivityIndicatorStyle::White);
}

void GtkActivityIndicatorPeer::setStyle(ActivityIndicatorStyle style) {
  GtkWidget* w = GTK_WIDGET(spinner_);
  gtk_widget_remove_css_class(w, "pf-spinner-white");
  gtk_widget_remove_css_class(w, "pf-spinner-gray");
  gtk_widget_add_css_class(w, style == ActivityIndicatorStyle::Gray ? "pf-spinner-gray" : "pf-spinner-white");
}

void GtkActivityIndicatorPeer::setAnimating(bool animating) { gtk_spinner_set_spinning(spinner_, animating); }

}  // namespace pf
