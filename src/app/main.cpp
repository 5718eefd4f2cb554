// The process entry: stack traces in failure reports, the classes the interface description
// names, then the application on the desktop backend (linked in by this program's target).
#include "app/AshenmoorClasses.h"
#include "platform/ui/DesktopMain.h"
#include "sdk/encoding/DOZStackTraceReports.h"

int main(int argc, char* argv[]) {
  DOZInstallStackTraceReports();
  AshenmoorClasses::registerAll();
  return pf::DesktopApplicationMain(argc, argv);
}
