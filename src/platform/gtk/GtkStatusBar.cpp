#include "platform/gtk/GtkStatusBar.h"

#include "platform/ui/Screen.h"

namespace pf {

GtkStatusBar::GtkStatusBar() : strip_(GObjectRef<GtkWidget>::ref(gtk_center_box_new())) {
  GtkWidget* strip = strip_.get();
  gtk_widget_add_css_class(strip, "pf-status-bar");
  gtk_widget_set_size_request(strip, -1, int(Screen::kStatusBarHeight));
  gtk_widget_set_valign(strip, GTK_ALIGN_START);
  gtk_widget_set_can_target(strip, FALSE);
  GtkWidget* carrier = gtk_label_new("Ashenmoor");
  clock_ = gtk_label_new("");
  gtk_center_box_set_start_widget(GTK_CENTER_BOX(strip), carrier);
  gtk_center_box_set_center_widget(GTK_CENTER_BOX(strip), clock_);
  showTime();
  // Wake at every minute's turn (checked every few seconds: cheap, and right after a suspend).
  timer_ = g_timeout_add_seconds(5, tick, this);
}

GtkStatusBar::~GtkStatusBar() {
  if (timer_) g_source_remove(timer_);
}

gboolean GtkStatusBar::tick(gpointer self) {
  static_cast<GtkStatusBar*>(self)->showTime();
  return G_SOURCE_CONTINUE;
}

std::string GtkStatusBar::timeText() const { return gtk_label_get_text(GTK_LABEL(clock_)); }

void GtkStatusBar::showTime() {
  GDateTime* now = g_date_time_new_now_local();
  char* text = g_date_time_format(now, "%H:%M");
  if (timeText() != text) gtk_label_set_text(GTK_LABEL(clock_), text);
  g_free(text);
  g_date_time_unref(now);
}

}  // namespace pf
