#pragma once
// GADNotificationCenter: the bridge's own notification center, a pf::NotificationCenter of
// its own (same delivery rules, separate observers). Page messages are posted here, named as
// the message, with the web view that sent them as object and the message parameters as
// user info; and messages go the other way, native to page, as a call of the page's
// "VIZE_ReceiveMessage".
//
//   auto& center = GADNotificationCenter::defaultCenter();
//   center.addObserver(this, "loadAdURL", buildAdWebView_.get(),        // this web view only
//                      [this](const pf::Notification& n) { loadAdURL(n.userInfo()); });
//   ...
//   // in a web view delegate, for a message it does not handle itself:
//   center.postNotificationFromURLObjectWithDelay(url, view, 0.0, this);
//   // and to the page:
//   center.postJSNotificationUserInfoWebView("openableURLs", answers, view);
//
// Observers match on the object's address: post with, and register for, a pointer of the
// same type (the delegate posts the pf::WebView it was called with).
//
// Delayed postings run on the main run loop, registered under an owner (the center when none
// is given): cancelPendingCalls(owner) drops them. Until it fires, a posting keeps the URL and
// the web view alive, as the page's message must still name its sender when delivered; one
// still waiting when its center goes is dropped.
#include <cstddef>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "platform/base/Notification.h"
#include "platform/base/NotificationCenter.h"
#include "platform/base/RunLoop.h"
#include "platform/base/Url.h"
#include "platform/base/Value.h"

class GADNotification;

namespace pf {
class WebView;
}

// The page's function that receives native-to-page messages.
inline constexpr char kGADReceiveMessageFunction[] = "VIZE_ReceiveMessage";

class GADNotificationCenter : public pf::NotificationCenter {
 public:
  // The bridge's center, for the whole process (not pf::NotificationCenter::defaultCenter()).
  static GADNotificationCenter& defaultCenter();

  GADNotificationCenter();
  ~GADNotificationCenter() override;

  // Posts the message `url` carries, at once, with `object` as sender; a URL that yields no
  // message posts nothing.
  template <typename T>
  void postNotificationFromURLObject(const pf::Url& url, const std::shared_ptr<T>& object) {
    postFromURL(url, packagerFor(object));
  }
  void postNotificationFromURLObject(const pf::Url& url, std::nullptr_t) {
    postFromURL(url, packagerFor(nullptr));
  }

  // The same `delay` seconds from now (0: on the next run-loop pass, never inside this call),
  // under `owner` (nullptr: this center). The URL is parsed when the posting fires.
  template <typename T>
  pf::RunLoop::CallId postNotificationFromURLObjectWithDelay(const pf::Url& url,
                                                             const std::shared_ptr<T>& object,
                                                             double delay,
                                                             const void* owner = nullptr) {
    return schedulePosting(url, packagerFor(object), delay, owner);
  }
  pf::RunLoop::CallId postNotificationFromURLObjectWithDelay(const pf::Url& url, std::nullptr_t,
                                                             double delay,
                                                             const void* owner = nullptr) {
    return schedulePosting(url, packagerFor(nullptr), delay, owner);
  }

  // The same for a message already parsed (the web view delegate reads every message URL
  // once); nothing for none.
  template <typename T>
  pf::RunLoop::CallId postNotificationObjectWithDelay(std::shared_ptr<const GADNotification> message,
                                                      const std::shared_ptr<T>& object, double delay,
                                                      const void* owner = nullptr) {
    return scheduleParsedPosting(std::move(message), packagerFor(object), delay, owner);
  }

  // Has `webView` evaluate the call of the page's message receiver (javaScriptForMessage);
  // the script's result is ignored. Nothing without a web view.
  void postJSNotificationUserInfoWebView(const std::string& name,
                                         const std::optional<pf::Value>& userInfo,
                                         const std::shared_ptr<pf::WebView>& webView);

  // The statement that delivers a message to the page:
  //   VIZE_ReceiveMessage('<name>', <user info as JSON>);    with user info
  //   VIZE_ReceiveMessage('<name>');                         without
  // The name is escaped as a string literal; user info the JSON writer cannot write leaves
  // nothing between the comma and the parenthesis (the page then gets the name alone).
  static std::string javaScriptForMessage(const std::string& name,
                                          const std::optional<pf::Value>& userInfo);

 private:
  // Makes the posted notification from the message's name and parameters; it holds the
  // object (strongly, when there is one).
  using Packager = std::function<pf::Notification(std::string name, pf::Value userInfo)>;

  template <typename T>
  static Packager packagerFor(const std::shared_ptr<T>& object) {
    return [object](std::string name, pf::Value userInfo) {
      return pf::Notification(std::move(name), object, std::move(userInfo));
    };
  }
  static Packager packagerFor(std::nullptr_t) {
    return [](std::string name, pf::Value userInfo) {
      return pf::Notification(std::move(name), std::move(userInfo));
    };
  }

  void postFromURL(const pf::Url& url, const Packager& packager);
  pf::RunLoop::CallId schedulePosting(const pf::Url& url, Packager packager, double delay,
                                      const void* owner);
  pf::RunLoop::CallId scheduleParsedPosting(std::shared_ptr<const GADNotification> message, Packager packager,
                                            double delay, const void* owner);
  void delayedPosting(const pf::Url& url, const Packager& packager);

  // Expires with the center, so postings registered under other owners know it is gone.
  std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
};
