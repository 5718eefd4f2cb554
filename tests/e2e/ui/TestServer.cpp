#include "TestServer.h"

#include <algorithm>
#include <map>

namespace {

// The top 120 points of the page are one link: a click there is a click on it.
const char kPage[] = R"(<!doctype html><html><head><title>Page</title>
<meta name="viewport" content="width=320">
<style>body{margin:0;font:16px sans-serif;background:#f4efe6;color:#2f3e46}
#link{position:absolute;left:0;top:0;width:320px;height:120px;display:block;background:#2f3e46;color:#fff;
text-decoration:none;font-size:22px;line-height:120px;text-align:center}
p{margin:140px 12px 0}</style></head>
<body><a id="link" href="/next.html">Next episode &#x25B8;</a>
<p>Ashenmoor: the moor, the house, the fog. This page is served on 127.0.0.1.</p></body></html>)";

const char kNext[] = R"(<!doctype html><html><head><title>Next</title></head>
<body style="margin:0;background:#d9480f;color:white;font:20px sans-serif"><h1>Episode 2</h1></body></html>)";

// 1×1 PNG, one opaque pixel.
const unsigned char kPixel[] = {
    0x89, 0x50, 0x4e, 0x47, 0x0d, 0x0a, 0x1a, 0x0a, 0x00, 0x00, 0x00, 0x0d, 0x49, 0x48, 0x44, 0x52,
    0x00, 0x00, 0x00, 0x01, 0x00, 0x00, 0x00, 0x01, 0x08, 0x06, 0x00, 0x00, 0x00, 0x1f, 0x15, 0xc4,
    0x89, 0x00, 0x00, 0x00, 0x0d, 0x49, 0x44, 0x41, 0x54, 0x78, 0x9c, 0x63, 0x60, 0x60, 0x60, 0xf8,
    0x0f, 0x00, 0x01, 0x04, 0x01, 0x00, 0x5f, 0xe5, 0xc3, 0x4b, 0x00, 0x00, 0x00, 0x00, 0x49, 0x45,
    0x4e, 0x44, 0xae, 0x42, 0x60, 0x82};

}  // namespace

TestServer::TestServer() {
  server_ = soup_server_new(nullptr, nullptr);
  soup_server_add_handler(server_, nullptr, handle, this, nullptr);
  GError* error = nullptr;
  if (!soup_server_listen_local(server_, 0, SOUP_SERVER_LISTEN_IPV4_ONLY, &error)) {
    g_clear_error(&error);
    return;
  }
  GSList* uris = soup_server_get_uris(server_);
  if (uris) port_ = g_uri_get_port(static_cast<GUri*>(uris->data));
  g_slist_free_full(uris, reinterpret_cast<GDestroyNotify>(g_uri_unref));
}

TestServer::~TestServer() {
  soup_server_disconnect(server_);
  g_object_unref(server_);
}

std::string TestServer::url(const std::string& path) const {
  return "http://127.0.0.1:" + std::to_string(port_) + path;
}

bool TestServer::wasRequested(const std::string& path) const {
  return std::find(paths_.begin(), paths_.end(), path) != paths_.end();
}

void TestServer::handle(SoupServer*, SoupServerMessage* msg, const char* path, GHashTable*, gpointer self) {
  static_cast<TestServer*>(self)->paths_.emplace_back(path);
  std::string p = path;
  if (p == "/page.html" || p == "/next.html") {
    const char* body = p == "/page.html" ? kPage : kNext;
    soup_server_message_set_response(msg, "text/html; charset=utf-8", SOUP_MEMORY_STATIC, body, strlen(body));
    soup_server_message_set_status(msg, 200, nullptr);
  } else if (p.size() > 4 && p.substr(p.size() - 4) == ".png") {
    soup_server_message_set_response(msg, "image/png", SOUP_MEMORY_STATIC, reinterpret_cast<const char*>(kPixel),
                                     sizeof kPixel);
    soup_server_message_set_status(msg, 200, nullptr);
  } else {
    soup_server_message_set_status(msg, 404, nullptr);
  }
}
