#pragma once
// The desktop around the e2e tests: a private XDG home whose default handler for "mailto"
// and "ashenmoor-test" URLs is a script that writes each URL it is given to a file; GTK and
// the desktop backend installed; the GLib main loop driving pf::RunLoop. Plus what the
// tests do like a person — click, type keys, minimise and restore with xdotool on the X
// display — and how they look — PNG snapshots of a window.
//
// Under bare Xvfb there is no window manager, so nothing minimises a window or gives it back:
// startWindowManager() runs openbox (Debian's package, see scripts/install-deps) on the
// display for as long as a test needs one. tests/e2e/app/support.bash does the same from a
// shell, for the whole application in its own process (xdotool windowactivate --sync may print
// "XGetWindowProperty[_NET_ACTIVE_WINDOW] failed" while no window has been active yet:
// harmless). xdotool key types real key events (XTEST) into the window that has the X input
// focus, so give the window the focus first, as key() does.
#include <gtk/gtk.h>

#include <functional>
#include <string>
#include <vector>

#include "Snapshot.h"
#include "platform/ui/Color.h"
#include "platform/ui/Geometry.h"

namespace pf {
class GtkWindowPeer;
class Window;
}  // namespace pf

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
// Real key presses in `window`: it takes the focus (and GTK sees it active), then xdotool
// types `keys` ("ctrl+Left", "Return", "Escape").
bool key(GtkWindow* window, const std::string& keys);

// Starts openbox on the display and waits until it manages it (false: it is not installed or
// did not start in time). One at a time; stopWindowManager() ends it (also at exit).
bool startWindowManager(int timeoutMs = 5000);
void stopWindowManager();
// As the user would with a window manager running: minimise `window` (xdotool windowminimize),
// and bring it back (xdotool windowactivate: de-iconified, raised and focused). Both wait for
// the X server to show the change; false without a window manager.
bool minimize(GtkWindow* window);
bool restore(GtkWindow* window);

using Snapshot = shots::Snapshot;  // a blank window has one or two colours
// Shows `window` (key and visible) titled `title` and waits for its first frame; answers its
// peer, or nullptr when it never came on screen.
pf::GtkWindowPeer* show(pf::Window& window, const std::string& title);

// Renders `widget` (a window: all of it) to PNG in the test output folder as <name>.png.
Snapshot snapshot(GtkWidget* widget, const std::string& name);
// The colour at a point of `window` in points, after one more frame, as 0xRRGGBB (or -1 on
// failure).
long pixelAt(pf::GtkWindowPeer& window, pf::Point point);
// Colours as 0xRRGGBB: the pf::Color of one, and two equal but for the renderer's rounding.
pf::Color rgb(long colour);
bool near(long a, long b);

}  // namespace DesktopHarness
