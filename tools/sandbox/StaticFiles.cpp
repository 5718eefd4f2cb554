#include "StaticFiles.h"

std::optional<std::string> StaticFiles::fileOf(const std::string& path, const std::string& prefix) {
  if (!path.starts_with(prefix)) return std::nullopt;
  std::string_view rest = std::string_view(path).substr(prefix.size());
  if (!prefix.ends_with('/') && !rest.empty() && rest.front() != '/') return std::nullopt;
  std::string file;
  while (!rest.empty()) {
    size_t slash = rest.find('/');
    std::string_view segment = rest.substr(0, slash);
    rest = slash == std::string_view::npos ? std::string_view() : rest.substr(slash + 1);
    if (segment.empty() || segment == ".") continue;
    if (!file.empty()) file += '/';
    file += segment;
  }
  if (file.empty()) return std::nullopt;
  return file;
}

Answer StaticFiles::serve(const Request& request, const std::string& prefix) const {
  if (request.method != "GET" && request.method != "HEAD") return Answer::text(405, "GET or HEAD only\n");
  auto relative = fileOf(request.path, prefix);
  auto body = relative ? www_.read(folder_ + "/" + *relative) : std::nullopt;
  if (!body) {
    return Answer::html(404,
                        "<!DOCTYPE html><meta charset=utf-8><title>Not found</title><p>Nothing here on the moor.</p>");
  }
  return Answer::content(200, WwwRoot::contentType(*relative), std::move(*body));
}
