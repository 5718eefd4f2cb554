#include "StaticFiles.h"

Answer StaticFiles::serve(const Request& request, const std::string& prefix) const {
  if (request.method != "GET" && request.method != "HEAD") return Answer::text(405, "GET or HEAD only\n");
  const std::string& path = request.path;
  std::string relative = path.size() > prefix.size() ? path.substr(prefix.size()) : "";
  while (!relative.empty() && relative.front() == '/') relative.erase(0, 1);
  auto body = relative.empty() ? std::nullopt : www_.read(folder_ + "/" + relative);
  if (!body) {
    return Answer::html(404,
                        "<!DOCTYPE html><meta charset=utf-8><title>Not found</title><p>Nothing here on the moor.</p>");
  }
  return Answer::content(200, WwwRoot::contentType(relative), std::move(*body));
}
