#pragma once
/// @file
/// pf::DesktopEmbedding: the desktop platform inside a GTK 4 application that is not ours.

#include <gtk/gtk.h>

namespace pf {

/// The desktop platform (GLib's main loop as the run loop, libsoup for HTTP, GIO, GTK 4
/// widgets and WebKitGTK web views) installed into a GTK application that someone else
/// made and runs: a publisher's.
///
/// The publisher's `GtkApplication`, its main loop and its windows stay theirs. The ad layer
/// attaches to them: its run-loop calls, timers and network exchanges run on GLib's default
/// main context (the one `g_application_run()` iterates), its banners are widgets the
/// publisher places (pf::GtkViewHost), and what a click on an ad opens full screen (the
/// in-app browser, an overlay, the mail form) appears in a phone-sized window of its own,
/// modal over the publisher's window, that belongs to no application and so never keeps
/// the publisher's running.
///
/// Call install() once, from the application's `startup` or `activate` handler (GTK is
/// initialised by then), before making the first banner:
///
/// @code
/// static void activate(GtkApplication* app, gpointer) {
///   if (!pf::DesktopEmbedding::install(app)) return;  // no display
///   …make the window, the banner and its host…
/// }
/// @endcode
///
/// What install() does:
/// - the ad layer's files (preferences, caches, cookies) go under the application's own
///   name in the XDG folders: `$XDG_CACHE_HOME/<application id>` and so on;
/// - without an `Info.plist` next to the program, the application's identity for ad
///   requests is its application id and its name (`g_get_application_name()`);
/// - once the handler that called install() has returned to the main loop, the application
///   finishes launching; from then on it is active while the window of the most recently
///   made banner host is shown and not minimised, and in the background while it is not,
///   so banners stop refreshing when nobody can see them;
/// - the application's `shutdown` signal ends the application for the ad layer (it saves
///   what it keeps).
///
/// Main thread only, as GTK is.
class DesktopEmbedding {
 public:
  /// Installs the desktop platform into `application`, which must be registered (it is,
  /// inside its `startup` and `activate` handlers). A reference to it is kept.
  /// @return false when GTK cannot open a display, or when the platform is already
  ///   installed into another application; true when installed now or before into this one.
  static bool install(GtkApplication* application);
  /// Whether install() has succeeded in this process.
  static bool isInstalled();

  DesktopEmbedding() = delete;
};

}  // namespace pf
