#pragma once
// pf::GtkAlertViewPeer: an alert as a small modal GTK window over the application's key
// window: title, message, and its buttons (two side by side, the cancel button on the left;
// more stacked, the cancel button last). A pressed button is reported to the alert, which
// dismisses itself; Escape or closing the window presses the cancel button, if there is one.
// Return (or Enter) presses the default button: the first button that is not the cancel
// button, else the cancel button — wherever the keyboard focus is inside the alert.
#include <gtk/gtk.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/gtk/GObjectRef.h"
#include "platform/ui/AlertViewPeer.h"

namespace pf {

class AlertView;

class GtkAlertViewPeer : public AlertViewPeer {
 public:
  explicit GtkAlertViewPeer(AlertView& alert);
  ~GtkAlertViewPeer() override;

  void show(const std::string& title, const std::string& message, const std::vector<std::string>& buttons,
            int cancelIndex) override;
  void dismiss(bool animated) override;

  // While shown: the window and its buttons by alert index.
  GtkWindow* gtkWindow() const { return window_.get(); }
  const std::vector<GtkWidget*>& buttons() const { return buttons_; }
  // The alert index of the button Return presses (-1: there are no buttons).
  int defaultIndex() const { return defaultIndex_; }
  static GtkAlertViewPeer* of(AlertView& alert);

 private:
  static void onClicked(GtkButton* button, gpointer self);
  static gboolean onCloseRequest(GtkWindow*, gpointer self);
  void press(int index);
  void teardown();
  void presentOverKeyWindow();

  AlertView& alert_;  // owns us
  GObjectRef<GtkWindow> window_;
  std::vector<GtkWidget*> buttons_;  // owned by window_, index = alert button index
  int cancelIndex_ = -1;
  guint pendingPresent_ = 0;  // idle source presenting the alert once the key window is up
  int defaultIndex_ = -1;
};

}  // namespace pf
