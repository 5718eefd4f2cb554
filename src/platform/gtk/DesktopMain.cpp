#include "platform/ui/DesktopMain.h"

#include "platform/gtk/DesktopPlatform.h"
#include "platform/gtk/GtkUIBackend.h"
#include "platform/ui/ApplicationMain.h"

namespace pf {

int DesktopApplicationMain(int argc, char* argv[]) {
  DesktopPlatform::install();
  auto backend = GtkUIBackend::install();
  if (!backend) return 1;
  return ApplicationMain(argc, argv);
}

}  // namespace pf
