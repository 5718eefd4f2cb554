#include "sdk/opener/GADOpener.h"

#include "platform/base/Log.h"
#include "platform/base/RunLoop.h"
#include "platform/ui/Application.h"
#include "sdk/network/GADClickTracker.h"
#include "sdk/object/GADObjectPrivate.h"
#include "sdk/browser/GADBrowserController.h"
#include "sdk/statistics/GADStatistics.h"
#include "sdk/utility/GADAdTrace.h"
#include "sdk/utility/GADNetworkUtilities.h"
#include "sdk/viewcontroller/GADViewController.h"
#include "sdk/webapp/GADWebAppViewController.h"

int GADOpener::repeatCount_ = 0;

namespace {

constexpr double kLeaveDeferral = 0.3;  // seconds per wait for running click pings
constexpr int kMaxLeaveDeferrals = 3;

std::vector<std::string> splitAtCommas(const std::string& text) {
  std::vector<std::string> parts;
  size_t start = 0;
  while (true) {
    size_t comma = text.find(',', start);
    parts.push_back(text.substr(start, comma - start));
    if (comma == std::string::npos) break;
    start = comma + 1;
  }
  return parts;
}

}  // namespace

std::shared_ptr<GADOpener> GADOpener::create() { return std::shared_ptr<GADOpener>(new GADOpener()); }

GADOpener::~GADOpener() = default;

void GADOpener::openNotification(const GADNotification& message) {
  const pf::Value& params = message.parameters();
  std::optional<pf::Url> url;
  if (params.contains("u")) url = pf::Url::parse(params["u"].stringRef());
  const std::string& action = params["a"].stringRef();
  const bool hasHTML = params.contains("html");
  if (!url && !(action == "webapp" && hasHTML)) return;

  int orientations = kGADOrientationAny;
  if (const std::string& o = params["o"].stringRef(); o == "p")
    orientations = kGADOrientationPortrait;
  else if (o == "l")
    orientations = kGADOrientationLandscape;

  std::optional<pf::Url> clickURL = GADStatistics::sharedStatistics()->urlForClick(url);

  if (action == "browser" || action == "video") {  // a video plays in the browser
    openBrowserToURLSupportedOrientations(*clickURL, orientations);
  } else if (action == "webapp") {
    if (clickURL)
      openWebAppSupportedOrientations(*clickURL, orientations);
    else
      openWebAppWithHTMLSupportedOrientations(params["html"].stringRef(), orientations);
  } else {  // "call", "app", and anything else: the system decides
    openApp(clickURL);
  }
}

void GADOpener::traceOpen(const char* action, const std::string& url, const char* via) const {
  if (GADAdTrace::enabled())
    GADAdTrace::write(traceBanner_, "open", {{"action", action}, {"url", url}, {"via", via}});
}

void GADOpener::openBrowserToURLSupportedOrientations(const pf::Url& url, int orientations) {
  auto presenter = viewController();
  if (!presenter) return;
  traceOpen("browser", url.absoluteString(), "browser");
  auto browser = GADBrowserController::create();
  browser->setSupportedOrientations(orientations);
  browser->setOpeningWebView(openingWebView_);
  browser->load(url, referringURL_);
  browser->setDelegateManager(delegateManager_);
  browser->presentFromViewController(presenter);  // the presentation keeps it
  didOpen();
}

std::shared_ptr<GADWebAppViewController> GADOpener::webAppOrientations(int orientations) const {
  auto overlay = GADWebAppViewController::create();
  overlay->setSupportedOrientations(orientations);
  overlay->setOpeningWebView(openingWebView_);
  overlay->setDelegateManager(delegateManager_);
  return overlay;
}

void GADOpener::openWebAppSupportedOrientations(const pf::Url& url, int orientations) {
  auto presenter = viewController();
  if (!presenter) return;
  traceOpen("webapp", url.absoluteString(), "webapp");
  auto overlay = webAppOrientations(orientations);
  overlay->load(url);
  overlay->presentFromViewController(presenter);
  didOpen();
}

void GADOpener::openWebAppWithHTMLSupportedOrientations(const std::string& html, int orientations) {
  auto presenter = viewController();
  if (!presenter) return;
  traceOpen("webapp", "", "webapp");
  auto overlay = webAppOrientations(orientations);
  overlay->loadHTML(html, std::nullopt);
  overlay->presentFromViewController(presenter);
  didOpen();
}

void GADOpener::openApp(const std::optional<pf::Url>& url) {
  if (!url) return;
  didOpen();
  if (GADClickTracker::activeTrackings() && repeatCount_++ < kMaxLeaveDeferrals) {
    // Give the click pings a moment; the deferred attempt keeps us alive, as the system's
    // delayed call kept its target.
    pf::RunLoop::main().performAfter(this, kLeaveDeferral,
                                     [self = shared_from_this(), url] { self->openApp(url); });
    return;
  }
  repeatCount_ = 0;
  traceOpen("app", url->absoluteString(), "system");
  if (delegateManager_) delegateManager_->willLeaveApplication();
  pf::RunLoop::main().performAfter(nullptr, 0.0, [target = *url] {
    if (!pf::Application::sharedApplication()->openURL(target))
      pf::Log::message("<Diziva> No application here opens " + target.absoluteString());
  });
}

void GADOpener::openEmailComposer(const std::optional<pf::Url>& url) {
  auto presenter = viewController();
  if (!presenter || !url) return;
  const std::string& text = url->absoluteString();
  std::string rest = text.size() > 7 ? text.substr(7) : std::string();  // after "mailto:"
  std::string recipient = rest;
  pf::Value fields = pf::Value::dictionary();
  if (size_t q = rest.find('?'); q != std::string::npos) {
    recipient = rest.substr(0, q);
    fields = GADNetworkUtilities::dictionaryFromQueryString(std::string_view(rest).substr(q + 1));
  }
  auto composer = pf::MailComposeViewController::create();
  composer->setMailComposeDelegate(weak_from_this());
  composer->setToRecipients({recipient});
  if (fields.contains("cc")) composer->setCcRecipients(splitAtCommas(fields["cc"].stringRef()));
  if (fields.contains("bcc")) composer->setBccRecipients(splitAtCommas(fields["bcc"].stringRef()));
  if (fields.contains("subject")) composer->setSubject(fields["subject"].stringRef());
  if (fields.contains("body")) composer->setMessageBody(fields["body"].stringRef(), false);
  composer->setModalTransitionStyle(pf::ViewController::ModalTransitionStyle::CoverVertical);
  traceOpen("mail", text, "mail");
  presenter->presentModalViewController(composer, true);
  didOpen();
}

void GADOpener::mailComposeControllerDidFinishWithResult(const std::shared_ptr<pf::MailComposeViewController>& composer,
                                                         pf::MailComposeResult, const std::optional<pf::Error>&) {
  // Whatever the result, the form goes; the presenter gets the screen (and the keys) back.
  if (auto presenter = viewController())
    presenter->dismissModalViewControllerAnimated(true);
  else if (composer)
    composer->dismissModalViewControllerAnimated(true);
}

void GADOpener::didOpen() {
  if (auto ad = adController()) ad->trackURLs(ad->pendingClickURLs());
}
