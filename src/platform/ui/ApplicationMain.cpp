#include "platform/ui/ApplicationMain.h"

#include "platform/base/Log.h"
#include "platform/ui/Application.h"
#include "platform/ui/Bundle.h"
#include "platform/ui/ClassRegistry.h"
#include "platform/ui/InterfaceDescription.h"
#include "platform/ui/UIBackend.h"

namespace pf {

bool LaunchApplication(const std::optional<std::string>& delegateClassName, Error* error) {
  auto bundle = Bundle::mainBundle();
  if (!bundle) {
    if (error) *error = Error::withDescription(kBundleErrorDomain, 2, "No application bundle (Info.plist) was found");
    return false;
  }
  auto app = Application::sharedApplication();
  std::shared_ptr<ApplicationDelegate> delegate;
  if (auto nib = bundle->objectForInfoDictionaryKey("NSMainNibFile").asString(); nib && !nib->empty()) {
    auto path = bundle->pathForResource(*nib, "plist");
    if (!path) {
      if (error)
        *error = Error::withDescription(kInterfaceDescriptionErrorDomain, InterfaceDescription::Malformed,
                                        "The main interface description \"" + *nib + ".plist\" is not in the bundle");
      return false;
    }
    auto description = InterfaceDescription::fromFile(*path, error);
    if (!description) return false;
    auto instance = description->instantiate(bundle, error);
    if (!instance) return false;
    // The description's top-level objects live as long as the application, as a nib's did.
    for (auto& [id, object] : instance->objects) {
      if (object.view) app->retainObject(object.view);
      if (object.controller) app->retainObject(object.controller);
      if (object.delegate) app->retainObject(object.delegate);
    }
    delegate = instance->applicationDelegate;
  }
  if (delegateClassName) {
    auto* info = ApplicationDelegateRegistry::find(*delegateClassName);
    if (!info) {
      if (error)
        *error = Error::withDescription(kInterfaceDescriptionErrorDomain, InterfaceDescription::UnknownClass,
                                        "Unknown application delegate class \"" + *delegateClassName + "\"");
      return false;
    }
    delegate = info->factory();
    app->retainObject(delegate);
  }
  app->setDelegate(delegate);
  app->finishLaunching(Value::dictionary());
  return true;
}

int ApplicationMain(int, char*[], const std::optional<std::string>& principalClassName,
                    const std::optional<std::string>& delegateClassName) {
  // There is one application class; a principal class other than it is reported, not used.
  if (principalClassName && *principalClassName != "UIApplication" && *principalClassName != "Application")
    Log::message("ApplicationMain: principal class \"" + *principalClassName + "\" is not supported; using pf::Application");
  Error error("", 0);
  if (!LaunchApplication(delegateClassName, &error)) {
    Log::message("ApplicationMain: " + error.localizedDescription());
    return 1;
  }
  return UIBackend::current().runMainLoop();
}

}  // namespace pf
