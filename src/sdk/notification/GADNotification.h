#pragma once
// GADNotification: one page-to-native message — a name and a dictionary of text parameters —
// parsed from a *message URL*, the navigation an ad page or the ad core script asks its web
// view for when it wants to talk to us.
//
//   gmsg://<any host>/<name>?<query>      the current form: name = the path after its "/",
//                                         parameters = the query (keys lower-cased)
//   rodud://launch?url=<u>                the old form, three verbs: "open" {a: browser, u},
//   rodud://closecanvas                   "close" (no parameters),
//   rodud://log?<query>                   "log" (the whole query)
//
//   if (GADNotification::isNotificationURL(url)) {
//     if (auto message = GADNotification::notificationFromURL(url))
//       handle(message->name(), message->parameters()["u"].stringRef());
//   }
//
// Schemes and rodud verbs compare exactly: "GMSG:" is no message URL. What cannot be parsed
// gives no notification, never a report: a page's malformed message is simply dropped.
#include <memory>
#include <string>
#include <string_view>

#include "platform/base/Url.h"
#include "platform/base/Value.h"

inline constexpr char kGADGMSGScheme[] = "gmsg";
inline constexpr char kGADRoDudScheme[] = "rodud";

class GADNotification {
 public:
  static bool isGMSGNotificationURL(const pf::Url& url) { return url.scheme() == kGADGMSGScheme; }
  static bool isRoDudNotificationURL(const pf::Url& url) { return url.scheme() == kGADRoDudScheme; }
  static bool isNotificationURL(const pf::Url& url) {
    return isGMSGNotificationURL(url) || isRoDudNotificationURL(url);
  }

  // The message `url` carries; none for a URL that is no message URL, a "gmsg" URL without
  // a name path, or a "rodud" URL with an unknown verb.
  static std::shared_ptr<GADNotification> notificationFromURL(const pf::Url& url);
  static std::shared_ptr<GADNotification> createWithNotificationURL(const pf::Url& url);
  // A message made by hand (`parameters`: a dictionary of strings, or null for none).
  static std::shared_ptr<GADNotification> create(std::string name, pf::Value parameters = {});

  const std::string& name() const { return name_; }
  void setName(std::string name) { name_ = std::move(name); }
  // A dictionary of strings; null when the message has no parameters at all ("close").
  const pf::Value& parameters() const { return parameters_; }
  void setParameters(pf::Value parameters) { parameters_ = std::move(parameters); }

  // "GADNotification<0x…>: name:<name> parameters:<parameters or (null)>", for logs.
  std::string description() const;

 private:
  GADNotification(std::string name, pf::Value parameters)
      : name_(std::move(name)), parameters_(std::move(parameters)) {}

  static std::shared_ptr<GADNotification> fromGMSG(const pf::Url& url);
  static std::shared_ptr<GADNotification> fromRoDud(const pf::Url& url);

  std::string name_;
  pf::Value parameters_;
};
