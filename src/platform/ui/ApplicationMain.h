#pragma once
// pf::ApplicationMain: the process entry's one call (UIApplicationMain on the phone).
//
// With the backend installed, it reads the main bundle's Info.plist (CFBundleIdentifier,
// CFBundleVersion, NSMainNibFile: the main interface description's name, a property list
// "<name>.plist" in the bundle), makes what the description says and wires it (see
// pf::InterfaceDescription), sets the application's delegate — the description's, or a new
// object of `delegateClassName` from pf::ApplicationDelegateRegistry — and finishes
// launching. Then it runs the backend's main loop and returns its exit status. A missing or
// broken bundle or description, or an unknown class, is logged and gives exit status 1.
//
//   int main(int argc, char* argv[]) {
//     pf::UIBackend::install(std::make_shared<GtkUIBackend>());
//     return pf::ApplicationMain(argc, argv);
//   }
#include <optional>
#include <string>

#include "platform/base/Error.h"

namespace pf {

int ApplicationMain(int argc, char* argv[], const std::optional<std::string>& principalClassName = std::nullopt,
                    const std::optional<std::string>& delegateClassName = std::nullopt);

// The launch without the main loop: true when the application finished launching;
// otherwise *error says why. (ApplicationMain is this, then the loop.)
bool LaunchApplication(const std::optional<std::string>& delegateClassName, Error* error);

}  // namespace pf
