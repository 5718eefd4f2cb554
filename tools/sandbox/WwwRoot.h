#pragma once

#include <glib.h>

#include <optional>
#include <string>

// The folder of pages, styles and scripts the sandbox serves. Found, in order, at the
// --www option, the ASHENMOOR_SANDBOX_WWW environment variable, or the source tree path
// compiled into the program, so a build tree runs without an install step.
class WwwRoot {
 public:
  explicit WwwRoot(std::string dir) : dir_(std::move(dir)) {}
  static std::string locate(const std::string& fromOption);

  const std::string& dir() const { return dir_; }
  // The file below the root, or nothing if it is missing or the path tries to leave it.
  std::optional<std::string> read(const std::string& relative) const;
  // Modification time in whole seconds since 1970, or nothing.
  std::optional<gint64> modified(const std::string& relative) const;
  static const char* contentType(const std::string& path);

 private:
  std::optional<std::string> fullPath(const std::string& relative) const;
  std::string dir_;
};
