#pragma once
// pf::DeviceProfile: the facts a device reports about itself — model, OS version, idiom,
// screen, hardware name — and which optional operations it offers. pf::Device and
// pf::Screen serve them; a backend installs one at start (the sim backend per test).
//
// The shipped profiles are the devices the application was built for:
//   "phone-3.1.3"  an iPhone 3G on 3.1.3 (no multitasking, no scale, no idiom query)
//   "phone-4.0"    an iPhone 3GS on 4.0 (multitasking)
//   "tablet-3.2"   an iPad on 3.2 running this phone application (compatibility mode: the
//                  application sees the phone idiom and a 320×480 screen)
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "platform/ui/Capability.h"
#include "platform/ui/Geometry.h"

namespace pf {

enum class UserInterfaceIdiom { Phone = 0, Pad = 1 };

struct DeviceProfile {
  std::string name;
  std::string model = "iPhone";              // UIDevice model
  std::string systemName = "iPhone OS";
  std::string systemVersion = "4.0";
  std::string uniqueIdentifier;              // 40 hexadecimal digits
  std::string machine = "iPhone2,1";         // uname's machine field
  UserInterfaceIdiom idiom = UserInterfaceIdiom::Phone;  // the application's idiom
  bool multitaskingSupported = false;
  Rect screenBounds{0, 0, 320, 480};
  double screenScale = 1.0;
  std::string audioRoute = "Speaker";       // the audio session's route; "" when none
  bool audioSessionAvailable = true;         // false: the audio session cannot be set up
  std::set<std::string> openableURLSchemes;  // lower-case schemes some installed app opens
  bool canSendMail = true;
  // Paths that exist on the device's own file system, outside the application's folders
  // (which pf::FileManager serves): "/Applications/Cydia.app" on a jailbroken phone.
  std::set<std::string> systemPaths;
  // Explicit answers that win over the version rule (a test forcing one road).
  std::map<Capability, bool> capabilityOverrides;

  // The OS version as (major, minor, bug fix); missing or non-numeric parts count 0.
  std::vector<int> versionTriple() const;
  bool systemVersionAtLeast(int major, int minor, int bugFix = 0) const;
  bool offers(Capability capability) const;

  static std::optional<DeviceProfile> named(const std::string& name);
  static std::vector<std::string> shippedNames();
};

}  // namespace pf
