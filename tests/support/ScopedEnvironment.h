#pragma once
// Environment variables set (or unset, with nullptr) for a scope; the old values come back
// at the end.
//
//   ScopedEnvironment env("ASHENMOOR_UULE_KEY", "00112233…");
//   env.set("LANG", nullptr);
#include <cstdlib>
#include <map>
#include <optional>
#include <string>

class ScopedEnvironment {
 public:
  ScopedEnvironment() = default;
  ScopedEnvironment(const std::string& name, const char* value) { set(name, value); }
  ScopedEnvironment(const ScopedEnvironment&) = delete;
  ScopedEnvironment& operator=(const ScopedEnvironment&) = delete;
  ~ScopedEnvironment() {
    for (const auto& [name, value] : saved_) apply(name, value ? value->c_str() : nullptr);
  }

  void set(const std::string& name, const char* value) {
    if (!saved_.count(name)) {
      const char* old = std::getenv(name.c_str());
      saved_[name] = old ? std::optional<std::string>(old) : std::nullopt;
    }
    apply(name, value);
  }

 private:
  static void apply(const std::string& name, const char* value) {
    if (value)
      setenv(name.c_str(), value, 1);
    else
      unsetenv(name.c_str());
  }
  std::map<std::string, std::optional<std::string>> saved_;
};
