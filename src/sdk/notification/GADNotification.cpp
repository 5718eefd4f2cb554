#include "sdk/notification/GADNotification.h"

#include <cstdio>

#include "sdk/utility/GADNetworkUtilities.h"

namespace {

pf::Value queryParameters(const pf::Url& url) {
  return GADNetworkUtilities::dictionaryFromQueryString(url.query().value_or(""));
}

}  // namespace

std::shared_ptr<GADNotification> GADNotification::notificationFromURL(const pf::Url& url) {
  return createWithNotificationURL(url);
}

std::shared_ptr<GADNotification> GADNotification::createWithNotificationURL(const pf::Url& url) {
  if (isGMSGNotificationURL(url)) return fromGMSG(url);
  if (isRoDudNotificationURL(url)) return fromRoDud(url);
  return nullptr;
}

std::shared_ptr<GADNotification> GADNotification::create(std::string name, pf::Value parameters) {
  return std::shared_ptr<GADNotification>(new GADNotification(std::move(name), std::move(parameters)));
}

std::shared_ptr<GADNotification> GADNotification::fromGMSG(const pf::Url& url) {
  // The name is the path after its leading "/". An empty path has no name; so has the
  // opaque form "gmsg:name", whose path has no "/" to drop — taking its first letter off
  // would invent a name the page never sent. (path() is also empty when not UTF-8.)
  std::string path = url.path();
  if (path.empty() || path.front() != '/') return nullptr;
  return create(path.substr(1), queryParameters(url));
}

std::shared_ptr<GADNotification> GADNotification::fromRoDud(const pf::Url& url) {
  const std::string& verb = url.host();
  if (verb == "launch") {
    pf::Value parameters = pf::Value::dictionary({{"a", "browser"}});
    pf::Value query = queryParameters(url);
    if (query.contains("url")) parameters.set("u", query["url"]);
    return create("open", std::move(parameters));
  }
  if (verb == "closecanvas") return create("close");
  if (verb == "log") return create("log", queryParameters(url));
  return nullptr;
}

std::string GADNotification::description() const {
  char address[32];
  std::snprintf(address, sizeof address, "%p", static_cast<const void*>(this));
  return "GADNotification<" + std::string(address) + ">: name:" + name_ +
         " parameters:" + (parameters_.isNull() ? "(null)" : parameters_.description());
}
