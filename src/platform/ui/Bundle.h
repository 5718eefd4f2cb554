#pragma once
// pf::Bundle: the application's folder — its information property list (Info.plist) and
// its resources (NSBundle mainBundle on the phone).
//
// The main bundle is the folder named by the environment variable ASHENMOOR_BUNDLE_PATH,
// else the folder of the running program, unless a launcher or test sets one.
#include <memory>
#include <optional>
#include <string>

#include "platform/base/Error.h"
#include "platform/base/Value.h"

namespace pf {

inline constexpr const char* kBundleErrorDomain = "pf.Bundle";

class Bundle {
 public:
  // Reads <path>/Info.plist; none (and *error set) when it is missing or not a dictionary.
  static std::shared_ptr<Bundle> bundleAtPath(const std::string& path, Error* error = nullptr);
  // A bundle at `path` whose information property list is `info` (a dictionary), for an
  // application that has no Info.plist of its own.
  static std::shared_ptr<Bundle> bundleWithInfo(std::string path, Value info);
  static std::shared_ptr<Bundle> mainBundle();
  static void setMainBundle(std::shared_ptr<Bundle> bundle);

  const std::string& bundlePath() const { return path_; }
  const Value& infoDictionary() const { return info_; }
  const Value& objectForInfoDictionaryKey(std::string_view key) const { return info_[key]; }
  std::optional<std::string> bundleIdentifier() const { return info_["CFBundleIdentifier"].asString(); }
  std::optional<std::string> bundleVersion() const { return info_["CFBundleVersion"].asString(); }

  // <bundle>/<name>.<type> (or <name> when type is empty) when that file exists.
  std::optional<std::string> pathForResource(const std::string& name, const std::string& type) const;
  std::optional<std::string> readResource(const std::string& fileName, Error* error = nullptr) const;

 private:
  Bundle(std::string path, Value info) : path_(std::move(path)), info_(std::move(info)) {}
  std::string path_;
  Value info_;
};

}  // namespace pf
