#include "platform/ui/DesktopMain.h"

#include <glib-unix.h>
#include <signal.h>

#include "platform/gtk/DesktopPlatform.h"
#include "platform/gtk/GtkUIBackend.h"
#include "platform/ui/Application.h"
#include "platform/ui/ApplicationMain.h"

namespace pf {

int DesktopApplicationMain(int argc, char* argv[]) {
  DesktopPlatform::install();
  auto backend = GtkUIBackend::install();
  if (!backend) return 1;
  // SIGTERM and SIGINT end the application as closing its window does: the delegate and the
  // observers hear WillTerminate (what must be saved is saved), then the loop ends.
  for (int sig : {SIGTERM, SIGINT}) {
    g_unix_signal_add(sig, [](gpointer) -> gboolean {
      Application::sharedApplication()->terminate();
      return G_SOURCE_CONTINUE;
    }, nullptr);
  }
  return ApplicationMain(argc, argv);
}

}  // namespace pf
