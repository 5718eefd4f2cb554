#pragma once
/// @file
/// pf::GtkViewHost: a view tree of the ad layer as a widget in a publisher's window.

#include <gtk/gtk.h>

#include <memory>

#include "platform/ui/View.h"
#include "platform/ui/ViewController.h"

namespace pf {

/// Shows a pf::View — a banner — as a GTK widget that a publisher places in a window of its
/// own, and gives it the controller it presents full-screen content from.
///
/// @code
/// auto banner = GADBannerView::create({0, 0, 320, 50});
/// auto host = pf::GtkViewHost::create(banner);
/// banner->setRootViewController(host->viewController());
/// gtk_box_append(GTK_BOX(column), host->widget());
/// banner->loadRequest(GADRequest::request());
/// @endcode
///
/// The widget asks for the view's size and draws the view from its top-left corner (give it
/// `GTK_ALIGN_CENTER` to centre it in a wider place). Pointer presses on it reach the view as
/// touches, so a click on an ad is a tap on it. What the view's controller presents appears
/// in the ad layer's phone-sized window, modal over the widget's window, until it is closed
/// with its own controls.
///
/// Lifetime: the host keeps the view, its controller and one reference to the widget. The
/// widget belongs to the publisher's layout once placed; destroying the host first closes
/// what is presented from it and leaves the widget empty where it is. Keep the host as long
/// as the banner should show (typically as long as its window).
///
/// Needs pf::DesktopEmbedding::install() first. Main thread only.
class GtkViewHost {
 public:
  /// A host for `view`, the size of the view's frame; the view is moved to the host's
  /// top-left corner. The most recently made host's window is the one whose being on screen
  /// makes the application active. Nullptr for no view.
  static std::shared_ptr<GtkViewHost> create(std::shared_ptr<View> view);
  ~GtkViewHost();
  GtkViewHost(const GtkViewHost&) = delete;
  GtkViewHost& operator=(const GtkViewHost&) = delete;

  /// The widget to place in the publisher's window (nullptr when the desktop platform is not
  /// installed). Not a floating reference: add it to a container, do not unref it.
  GtkWidget* widget() const;
  /// The controller whose view holds the hosted view: a banner's root view controller.
  std::shared_ptr<ViewController> viewController() const;
  /// The hosted view.
  std::shared_ptr<View> view() const;

 private:
  GtkViewHost();
  struct Parts;
  std::unique_ptr<Parts> parts_;
};

}  // namespace pf
