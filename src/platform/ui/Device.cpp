#include "platform/ui/Device.h"

namespace pf {
namespace {
DeviceProfile& installed() {
  static DeviceProfile profile = *DeviceProfile::named("phone-4.0");
  return profile;
}
}  // namespace

const DeviceProfile& Device::profile() { return installed(); }
void Device::setProfile(DeviceProfile profile) { installed() = std::move(profile); }

}  // namespace pf
