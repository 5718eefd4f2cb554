#include "WwwRoot.h"

#include <gio/gio.h>

#ifndef ASHENMOOR_SANDBOX_WWW_DIR
#define ASHENMOOR_SANDBOX_WWW_DIR "www"
#endif

std::string WwwRoot::locate(const std::string& fromOption) {
  if (!fromOption.empty()) return fromOption;
  if (const char* env = g_getenv("ASHENMOOR_SANDBOX_WWW"); env && *env) return env;
  return ASHENMOOR_SANDBOX_WWW_DIR;
}

std::optional<std::string> WwwRoot::fullPath(const std::string& relative) const {
  if (relative.find("..") != std::string::npos || relative.find('\0') != std::string::npos) {
    return std::nullopt;
  }
  return dir_ + "/" + relative;
}

std::optional<std::string> WwwRoot::read(const std::string& relative) const {
  auto path = fullPath(relative);
  if (!path || !g_file_test(path->c_str(), G_FILE_TEST_IS_REGULAR)) return std::nullopt;
  g_autofree char* contents = nullptr;
  gsize length = 0;
  if (!g_file_get_contents(path->c_str(), &contents, &length, nullptr)) return std::nullopt;
  return std::string(contents, length);
}

std::optional<gint64> WwwRoot::modified(const std::string& relative) const {
  auto path = fullPath(relative);
  if (!path) return std::nullopt;
  g_autoptr(GFile) file = g_file_new_for_path(path->c_str());
  g_autoptr(GFileInfo) info =
      g_file_query_info(file, G_FILE_ATTRIBUTE_TIME_MODIFIED, G_FILE_QUERY_INFO_NONE, nullptr, nullptr);
  if (!info) return std::nullopt;
  return static_cast<gint64>(g_file_info_get_attribute_uint64(info, G_FILE_ATTRIBUTE_TIME_MODIFIED));
}

const char* WwwRoot::contentType(const std::string& path) {
  auto endsWith = [&](const char* suffix) { return g_str_has_suffix(path.c_str(), suffix); };
  if (endsWith(".html")) return "text/html; charset=utf-8";
  if (endsWith(".css")) return "text/css; charset=utf-8";
  if (endsWith(".js")) return "application/javascript; charset=utf-8";
  if (endsWith(".svg")) return "image/svg+xml";
  if (endsWith(".json")) return "application/json";
  return "application/octet-stream";
}
