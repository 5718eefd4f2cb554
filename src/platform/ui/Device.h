#pragma once
// pf::Device: the current device (UIDevice currentDevice on the phone), answering from the
// installed pf::DeviceProfile. The desktop backend installs one at start; the sim backend in
// each test. Without one, "phone-4.0" is assumed.
//
//   if (pf::Device::offers(pf::Capability::BackgroundTasks)) ...
//   pf::Device::systemVersion();   // "3.1.3"
#include <optional>
#include <string>

#include "platform/ui/DeviceProfile.h"

namespace pf {

class Device {
 public:
  static const DeviceProfile& profile();
  static void setProfile(DeviceProfile profile);

  static std::string model() { return profile().model; }
  static std::string systemName() { return profile().systemName; }
  static std::string systemVersion() { return profile().systemVersion; }
  static std::string uniqueIdentifier() { return profile().uniqueIdentifier; }
  static std::string machine() { return profile().machine; }  // uname's machine field
  static UserInterfaceIdiom userInterfaceIdiom() { return profile().idiom; }
  static bool isMultitaskingSupported() { return profile().multitaskingSupported; }
  static bool systemVersionAtLeast(int major, int minor, int bugFix = 0) {
    return profile().systemVersionAtLeast(major, minor, bugFix);
  }
  static bool offers(Capability c) { return profile().offers(c); }
  // The audio session's current route ("Speaker", "Headphone", "" when there is none); none
  // when the audio session cannot be set up.
  static std::optional<std::string> audioRoute() {
    if (!profile().audioSessionAvailable) return std::nullopt;
    return profile().audioRoute;
  }
  // Whether something exists at `path` on the device's own file system.
  static bool systemPathExists(const std::string& path) { return profile().systemPaths.count(path) != 0; }
};

}  // namespace pf
