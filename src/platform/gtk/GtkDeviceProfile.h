#pragma once
// pf::GtkDeviceProfile: the device facts of the machine the desktop application runs on —
// OS name and version (os-release, else uname), hardware name (uname's machine field), the
// monitor's scale, a stable identifier — in a phone-sized screen of 320 × 480 points.
//
// ASHENMOOR_DEVICE_PROFILE names a shipped profile ("phone-3.1.3", "phone-4.0",
// "tablet-3.2") to run as that device instead: its OS version, idiom and model, with the
// machine's screen scale only where the profile offers a scale.
#include <optional>
#include <string>

#include "platform/ui/DeviceProfile.h"

namespace pf {

class GtkDeviceProfile {
 public:
  static constexpr const char* kOverrideVariable = "ASHENMOOR_DEVICE_PROFILE";

  static DeviceProfile fromMachine();
  // The override when set and known (an unknown name is logged and ignored), else the machine.
  static DeviceProfile chosen();

  // The 40-hex-digit identifier for a machine id. The machine id itself must not leave the
  // machine (systemd's rule), so this is an HMAC of a fixed application label keyed by it:
  // stable for this machine and this application, useless for finding the machine id.
  static std::string identifierFor(const std::string& machineId);
  // The monitor's scale factor (1 without a display).
  static double monitorScale();

  GtkDeviceProfile() = delete;
};

}  // namespace pf
