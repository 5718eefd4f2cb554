#include "platform/sim/SimUIEnvironment.h"

#include <stdexcept>

#include "platform/ui/Application.h"
#include "platform/ui/Bundle.h"
#include "platform/ui/Device.h"

namespace pf {

SimUIEnvironment::SimUIEnvironment(const std::string& profileName)
    : SimUIEnvironment([&] {
        auto p = DeviceProfile::named(profileName);
        if (!p) throw std::invalid_argument("no device profile named " + profileName);
        return *p;
      }()) {}

SimUIEnvironment::SimUIEnvironment(DeviceProfile profile)
    : backend_(std::make_shared<SimUIBackend>()), previousProfile_(Device::profile()) {
  previousBackend_ = UIBackend::install(backend_);
  Device::setProfile(std::move(profile));
  Application::resetSharedApplication();
}

SimUIEnvironment::~SimUIEnvironment() {
  Application::resetSharedApplication();
  Bundle::setMainBundle(nullptr);
  UIBackend::install(previousBackend_);
  Device::setProfile(previousProfile_);
}

void SimUIEnvironment::setProfile(DeviceProfile profile) { Device::setProfile(std::move(profile)); }

}  // namespace pf
