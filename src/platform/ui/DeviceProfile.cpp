#include "platform/ui/DeviceProfile.h"

#include <cctype>
#include <sstream>

namespace pf {

std::vector<int> DeviceProfile::versionTriple() const {
  std::vector<int> parts{0, 0, 0};
  std::stringstream in(systemVersion);
  std::string piece;
  for (size_t i = 0; i < 3 && std::getline(in, piece, '.'); ++i) {
    int v = 0;
    for (char c : piece) {
      if (!std::isdigit(static_cast<unsigned char>(c))) break;
      v = v * 10 + (c - '0');
    }
    parts[i] = v;
  }
  return parts;
}

bool DeviceProfile::systemVersionAtLeast(int major, int minor, int bugFix) const {
  return versionTriple() >= std::vector<int>{major, minor, bugFix};
}

bool DeviceProfile::offers(Capability c) const {
  if (auto it = capabilityOverrides.find(c); it != capabilityOverrides.end()) return it->second;
  switch (c) {
    case Capability::StatusBarHiddenWithAnimation:
    case Capability::UserInterfaceIdiom:
      return systemVersionAtLeast(3, 2);
    case Capability::WindowRootViewController:
    case Capability::ApplicationState:
    case Capability::ScreenScale:
    case Capability::ImageScale:
    case Capability::InlineMediaPlayback:
    case Capability::MediaPlaybackRequiresUserAction:
    case Capability::ExtendedDataDetectors:
      return systemVersionAtLeast(4, 0);
    case Capability::BackgroundTasks:
      return systemVersionAtLeast(4, 0) && multitaskingSupported;
    case Capability::PresentingViewController:
    case Capability::MediaPlaybackAllowsAirPlay:
      return systemVersionAtLeast(5, 0);
  }
  return false;
}

std::optional<DeviceProfile> DeviceProfile::named(const std::string& name) {
  DeviceProfile p;
  p.name = name;
  p.openableURLSchemes = {"http", "https", "mailto", "itms", "itms-apps", "maps"};
  if (name == "phone-3.1.3") {
    p.model = "iPhone";
    p.systemName = "iPhone OS";
    p.systemVersion = "3.1.3";
    p.machine = "iPhone1,2";
    p.uniqueIdentifier = "5f2c9d0e4b8a7136c2e1f0a9b8d7c6e5f4a3b2c1";
    p.openableURLSchemes.insert("tel");
    p.openableURLSchemes.insert("sms");
    p.openableURLSchemes.insert("kindle");  // the Kindle reader; no iBooks before 4.0
    return p;
  }
  if (name == "phone-4.0") {
    p.model = "iPhone";
    p.systemName = "iPhone OS";
    p.systemVersion = "4.0";
    p.machine = "iPhone2,1";
    p.multitaskingSupported = true;
    p.uniqueIdentifier = "a1b2c3d4e5f60718293a4b5c6d7e8f9012345678";
    p.openableURLSchemes.insert("tel");
    p.openableURLSchemes.insert("sms");
    p.openableURLSchemes.insert("itms-books");  // iBooks
    return p;
  }
  if (name == "tablet-3.2") {
    p.model = "iPad";
    p.systemName = "iPhone OS";
    p.systemVersion = "3.2";
    p.machine = "iPad1,1";
    p.idiom = UserInterfaceIdiom::Phone;  // a phone application in compatibility mode
    p.uniqueIdentifier = "0f1e2d3c4b5a69788796a5b4c3d2e1f00f1e2d3c";
    p.openableURLSchemes.insert("itms-books");  // iBooks
    p.openableURLSchemes.insert("kindle");
    return p;
  }
  return std::nullopt;
}

std::vector<std::string> DeviceProfile::shippedNames() {
  return {"phone-3.1.3", "phone-4.0", "tablet-3.2"};
}

}  // namespace pf
