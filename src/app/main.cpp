// The process entry: the classes the interface description names, then the application on
// the desktop backend (linked in by this program's target).
#include "app/AshenmoorClasses.h"
#include "platform/ui/DesktopMain.h"

int main(int argc, char* argv[]) {
  AshenmoorClasses::registerAll();
  return pf::DesktopApplicationMain(argc, argv);
}
