#pragma once
// GADOpener: carries out a page's "open" message — the ad's destination in the in-app
// browser, the full-screen overlay, the mail form, or handed to another application — and
// pings the ad's click-tracking URLs at every opening. One per web view delegate.
//
//   opener_->setViewController(rootViewController);     // who presents what opens
//   opener_->setDelegateManager(delegateManager);        // hears willLeaveApplication
//   opener_->openNotification(*message);                 // {"a": "call", "u": "tel:…"}
//
// Full-screen openings present the in-app browser or the web-app overlay from the opener's
// view controller; the presentation keeps them. Leaving the application waits for click pings still running (GADClickTracker::
// activeTrackings) at most three times 0.3 s, then tells the delegate manager
// willLeaveApplication and hands the URL to the system on the next run-loop pass.
// Deferred attempts keep the opener alive. Main thread only.
#include <memory>
#include <optional>
#include <string>

#include "platform/base/Url.h"
#include "platform/ui/MailComposeViewController.h"
#include "platform/ui/ViewController.h"
#include "platform/ui/WebView.h"
#include "sdk/delegate/GADDelegateManager.h"
#include "sdk/notification/GADNotification.h"

class GADObjectPrivate;
class GADWebAppViewController;

class GADOpener : public pf::MailComposeViewControllerDelegate, public std::enable_shared_from_this<GADOpener> {
 public:
  static std::shared_ptr<GADOpener> create();
  ~GADOpener() override;

  const std::shared_ptr<GADDelegateManager>& delegateManager() const { return delegateManager_; }
  void setDelegateManager(std::shared_ptr<GADDelegateManager> m) { delegateManager_ = std::move(m); }
  std::shared_ptr<pf::ViewController> viewController() const { return viewController_.lock(); }
  void setViewController(std::weak_ptr<pf::ViewController> vc) { viewController_ = std::move(vc); }
  const std::optional<pf::Url>& referringURL() const { return referringURL_; }
  void setReferringURL(std::optional<pf::Url> url) { referringURL_ = std::move(url); }
  std::shared_ptr<pf::WebView> openingWebView() const { return openingWebView_.lock(); }
  void setOpeningWebView(std::weak_ptr<pf::WebView> view) { openingWebView_ = std::move(view); }
  std::shared_ptr<GADObjectPrivate> adController() const { return adController_.lock(); }
  void setAdController(std::weak_ptr<GADObjectPrivate> ad) { adController_ = std::move(ad); }

  // The "open" message: "a" the action, "u" the destination, "html" inline HTML, "o" the
  // orientation ("p" portrait, "l" landscape, else any). Counts the click.
  void openNotification(const GADNotification& message);

  // Full-screen openings (the in-app browser and the overlay).
  void openBrowserToURLSupportedOrientations(const pf::Url& url, int orientations);
  void openWebAppSupportedOrientations(const pf::Url& url, int orientations);
  void openWebAppWithHTMLSupportedOrientations(const std::string& html, int orientations);
  // A configured overlay: orientations, opening web view, delegate manager.
  std::shared_ptr<GADWebAppViewController> webAppOrientations(int orientations) const;

  // Leaves the application to the system's handler of the URL's scheme.
  void openApp(const std::optional<pf::Url>& url);
  // The mail form for a "mailto:" URL: one recipient, "cc"/"bcc" (comma-separated),
  // "subject" and "body" from the query.
  void openEmailComposer(const std::optional<pf::Url>& url);
  void mailComposeControllerDidFinishWithResult(const std::shared_ptr<pf::MailComposeViewController>& composer,
                                                pf::MailComposeResult result,
                                                const std::optional<pf::Error>& error) override;
  // Pings the ad's click-tracking URLs (again at every opening).
  void didOpen();

  // Deferrals of the application switch under way (process-wide).
  static int repeatCount() { return repeatCount_; }

  // The banner the ad trace names for what this opener opens.
  void setTraceBanner(int banner) { traceBanner_ = banner; }

 private:
  GADOpener() = default;
  void traceOpen(const char* action, const std::string& url, const char* via) const;

  std::shared_ptr<GADDelegateManager> delegateManager_;
  std::weak_ptr<pf::ViewController> viewController_;
  std::optional<pf::Url> referringURL_;
  std::weak_ptr<pf::WebView> openingWebView_;
  std::weak_ptr<GADObjectPrivate> adController_;
  int traceBanner_ = 0;

  static int repeatCount_;
};
