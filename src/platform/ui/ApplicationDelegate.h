#pragma once
// pf::ApplicationDelegate: what the application tells its delegate (UIApplicationDelegate
// on the phone). Every operation is optional; the defaults do nothing.
#include "platform/base/Value.h"

namespace pf {

class Application;

class ApplicationDelegate {
 public:
  virtual ~ApplicationDelegate() = default;
  // `options` is a dictionary (empty for an ordinary launch). Answer false to refuse a URL
  // the launch was for; the launch goes on either way.
  virtual bool applicationDidFinishLaunchingWithOptions(Application&, const Value& /*options*/) {
    return true;
  }
  virtual void applicationWillResignActive(Application&) {}
  virtual void applicationDidEnterBackground(Application&) {}
  virtual void applicationWillEnterForeground(Application&) {}
  virtual void applicationDidBecomeActive(Application&) {}
  virtual void applicationWillTerminate(Application&) {}
  virtual void applicationDidReceiveMemoryWarning(Application&) {}
};

}  // namespace pf
