#include "platform/ui/Bundle.h"

#include <cstdlib>
#include <filesystem>

#include "platform/base/FileManager.h"
#include "platform/base/PropertyList.h"

namespace pf {
namespace {
std::shared_ptr<Bundle>& mainSlot() {
  static std::shared_ptr<Bundle> bundle;
  return bundle;
}
}  // namespace

std::shared_ptr<Bundle> Bundle::bundleAtPath(const std::string& path, Error* error) {
  std::string infoPath = path + "/Info.plist";
  auto bytes = FileManager::defaultManager().readFile(infoPath, error);
  if (!bytes) return nullptr;
  auto info = PropertyList::read(*bytes);
  if (!info || !info->isDictionary()) {
    if (error)
      *error = Error::withDescription(kBundleErrorDomain, 1, "The information property list " + infoPath +
                                                                  " is not a property-list dictionary");
    return nullptr;
  }
  return std::shared_ptr<Bundle>(new Bundle(path, std::move(*info)));
}

std::shared_ptr<Bundle> Bundle::bundleWithInfo(std::string path, Value info) {
  if (!info.isDictionary()) info = Value::dictionary();
  return std::shared_ptr<Bundle>(new Bundle(std::move(path), std::move(info)));
}

std::shared_ptr<Bundle> Bundle::mainBundle() {
  auto& slot = mainSlot();
  if (!slot) {
    std::string path;
    if (const char* env = std::getenv("ASHENMOOR_BUNDLE_PATH"); env && *env) {
      path = env;
    } else {
      std::error_code ec;
      auto exe = std::filesystem::read_symlink("/proc/self/exe", ec);
      path = ec ? "." : exe.parent_path().string();
    }
    slot = bundleAtPath(path);
  }
  return slot;
}

void Bundle::setMainBundle(std::shared_ptr<Bundle> bundle) { mainSlot() = std::move(bundle); }

std::optional<std::string> Bundle::pathForResource(const std::string& name, const std::string& type) const {
  std::string p = path_ + "/" + name + (type.empty() ? "" : "." + type);
  std::error_code ec;
  if (!std::filesystem::is_regular_file(p, ec)) return std::nullopt;
  return p;
}

std::optional<std::string> Bundle::readResource(const std::string& fileName, Error* error) const {
  return FileManager::defaultManager().readFile(path_ + "/" + fileName, error);
}

}  // namespace pf
