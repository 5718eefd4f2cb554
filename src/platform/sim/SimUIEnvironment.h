#pragma once
// pf::SimUIEnvironment: the view layer of a test — installs the sim backend and a device
// profile, and gives the test a fresh shared application; the destructor puts back what was
// there. Make it after the pf::SimClock (so it goes first at the end).
//
//   pf::SimClock clock;
//   pf::SimUIEnvironment ui{"phone-3.1.3"};
//   ui.backend().quitRequests();
#include <memory>
#include <string>

#include "platform/sim/SimUIBackend.h"
#include "platform/ui/DeviceProfile.h"

namespace pf {

class SimUIEnvironment {
 public:
  explicit SimUIEnvironment(const std::string& profileName = "phone-4.0");
  explicit SimUIEnvironment(DeviceProfile profile);
  ~SimUIEnvironment();
  SimUIEnvironment(const SimUIEnvironment&) = delete;
  SimUIEnvironment& operator=(const SimUIEnvironment&) = delete;

  SimUIBackend& backend() { return *backend_; }
  // Changes the device mid-test (a capability override, say).
  void setProfile(DeviceProfile profile);

 private:
  std::shared_ptr<SimUIBackend> backend_;
  std::shared_ptr<UIBackend> previousBackend_;
  DeviceProfile previousProfile_;
};

}  // namespace pf
