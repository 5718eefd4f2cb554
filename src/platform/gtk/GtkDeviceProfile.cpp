#include "platform/gtk/GtkDeviceProfile.h"

#include <gtk/gtk.h>
#include <sys/utsname.h>

#include <cstdlib>
#include <fstream>

#include "platform/base/Log.h"

namespace pf {
namespace {

std::string readFirstLine(const char* path) {
  std::ifstream in(path);
  std::string line;
  std::getline(in, line);
  return line;
}

// One key of /etc/os-release (KEY=value or KEY="value").
std::optional<std::string> osRelease(const std::string& key) {
  for (const char* path : {"/etc/os-release", "/usr/lib/os-release"}) {
    std::ifstream in(path);
    std::string line;
    while (std::getline(in, line)) {
      if (line.rfind(key + "=", 0) != 0) continue;
      std::string v = line.substr(key.size() + 1);
      if (v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front()) v = v.substr(1, v.size() - 2);
      return v;
    }
  }
  return std::nullopt;
}

}  // namespace

std::string GtkDeviceProfile::identifierFor(const std::string& machineId) {
  static const char kLabel[] = "ashenmoor device identifier";
  char* hex = g_compute_hmac_for_string(G_CHECKSUM_SHA1, reinterpret_cast<const guchar*>(machineId.data()),
                                        machineId.size(), kLabel, -1);
  std::string out = hex;
  g_free(hex);
  return out;
}

double GtkDeviceProfile::monitorScale() {
  GdkDisplay* display = gdk_display_get_default();
  if (!display) return 1.0;
  GListModel* monitors = gdk_display_get_monitors(display);
  if (g_list_model_get_n_items(monitors) == 0) return 1.0;
  auto* monitor = GDK_MONITOR(g_list_model_get_item(monitors, 0));
  double scale = gdk_monitor_get_scale_factor(monitor);
  g_object_unref(monitor);
  return scale > 0 ? scale : 1.0;
}

DeviceProfile GtkDeviceProfile::fromMachine() {
  DeviceProfile p;
  p.name = "desktop";
  struct utsname u {};
  bool haveUname = uname(&u) == 0;
  p.model = "Desktop";
  p.systemName = osRelease("NAME").value_or(haveUname ? u.sysname : "Linux");
  p.systemVersion = osRelease("VERSION_ID").value_or(haveUname ? u.release : "");
  p.machine = haveUname ? u.machine : "";
  std::string machineId = readFirstLine("/etc/machine-id");
  if (machineId.empty()) machineId = readFirstLine("/var/lib/dbus/machine-id");
  p.uniqueIdentifier = identifierFor(machineId.empty() ? std::string(g_get_host_name()) : machineId);
  p.idiom = UserInterfaceIdiom::Phone;
  p.multitaskingSupported = true;  // a minimised window keeps running
  p.screenBounds = Rect(0, 0, 320, 480);
  p.screenScale = monitorScale();
  p.canSendMail = true;  // the form is ours; sending needs a mail handler (the backend asks)
  return p;
}

DeviceProfile GtkDeviceProfile::chosen() {
  const char* name = std::getenv(kOverrideVariable);
  if (!name || !*name) return fromMachine();
  auto profile = DeviceProfile::named(name);
  if (!profile) {
    Log::message(std::string(kOverrideVariable) + ": no device profile named \"" + name + "\"; using this machine's");
    return fromMachine();
  }
  profile->screenScale = monitorScale();  // served only where the profile's OS offers a scale
  return *profile;
}

}  // namespace pf
