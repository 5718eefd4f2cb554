#pragma once
// pf::GtkStatusBar: the 20-point strip across the top of the phone-sized window, showing the
// time (updated every minute). It takes no touches.
#include <gtk/gtk.h>

#include <string>

#include "platform/gtk/GObjectRef.h"

namespace pf {

class GtkStatusBar {
 public:
  GtkStatusBar();
  ~GtkStatusBar();
  GtkStatusBar(const GtkStatusBar&) = delete;
  GtkStatusBar& operator=(const GtkStatusBar&) = delete;

  GtkWidget* widget() const { return strip_.get(); }
  std::string timeText() const;

 private:
  static gboolean tick(gpointer self);
  void showTime();

  GObjectRef<GtkWidget> strip_;
  GtkWidget* clock_ = nullptr;  // owned by strip_
  guint timer_ = 0;
};

}  // namespace pf
