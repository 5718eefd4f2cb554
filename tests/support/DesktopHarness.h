#pragma once
// The desktop around the e2e tests: a private XDG home whose default handler for "mailto"
// and "ashenmoor-test" URLs is a script that writes each URL it is given to a file; GTK and
// the desktop backend installed; the GLib main loop driving pf::RunLoop. Plus what the
// tests do like a person — click with xdotool on the X display — and how they look — PNG
// snapshots of a window.
#include <gtk/gtk.h>

#include <functional>
#include <string>
#include <vector>

#include "Snapshot.h"
#include "platform/ui/Geometry.h"

namespace DesktopHarness {

// Before GTK or GIO is used: the private XDG folders and the URL handler.
void prepareEnvironment();
// GTK, the backend, the run-loop driver. False when there is no display.
bool install();

// Runs the GLib main loop until done() or the time-out; returns done().
bool spin(const std::function<bool()>& done, int timeoutMs);
void settle(int ms);  // lets the loop run for `ms` (drawing, the web process catching up)

// The URLs the fake handler was launched with so far (waits up to timeoutMs for `count`).
std::vector<std::string> launchedURLs(size_t count, int timeoutMs);

// A real pointer click (xdotool on the X display) at `surfacePoint` of `window`.
bool click(GtkWindow* window, pf::Point surfacePoint);
bool waitMapped(GtkWindow* window, int timeoutMs);
// Gives `window` the keyboard focus as a window manager would (there is none under Xvfb).
bool focus(GtkWindow* window);

using Snapshot = shots::Snapshot;  // a blank window has one or two colours
// Renders `widget` (a window: all of it) to PNG in the test output folder as <name>.png.
Snapshot snapshot(GtkWidget* widget, const std::string& name);
// The colour at a point of the last rendering of `widget`, as 0xRRGGBB (or -1 on failure).
long pixelAt(GtkWidget* widget, int x, int y);
std::string outputPath(const std::string& name);

}  // namespace DesktopHarness
