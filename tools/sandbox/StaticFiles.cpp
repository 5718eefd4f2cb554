#include "StaticFiles.h"

#include "Reply.h"

void StaticFiles::serve(SoupServerMessage* msg, const std::string& prefix) const {
  const char* method = soup_server_message_get_method(msg);
  if (g_strcmp0(method, "GET") != 0 && g_strcmp0(method, "HEAD") != 0) {
    Reply::text(msg, SOUP_STATUS_METHOD_NOT_ALLOWED, "GET or HEAD only\n");
    return;
  }
  std::string path = Reply::path(msg);
  std::string relative = path.size() > prefix.size() ? path.substr(prefix.size()) : "";
  while (!relative.empty() && relative.front() == '/') relative.erase(0, 1);
  auto body = relative.empty() ? std::nullopt : www_.read(folder_ + "/" + relative);
  if (!body) {
    Reply::html(msg, SOUP_STATUS_NOT_FOUND,
                "<!DOCTYPE html><meta charset=utf-8><title>Not found</title><p>Nothing here on the moor.</p>");
    return;
  }
  Reply::body(msg, SOUP_STATUS_OK, WwwRoot::contentType(relative), *body);
}
