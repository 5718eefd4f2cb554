#include "platform/sim/SimUIWebView.h"

#include <algorithm>

#include "platform/base/RunLoop.h"
#include "platform/sim/SimUIBackend.h"

namespace pf {

SimUIWebView::SimUIWebView(WebView& view, WebViewPeerHost& host) : view_(view), host_(host) {}

SimUIWebView::~SimUIWebView() {
  *alive_ = false;
  RunLoop::main().cancelPendingCalls(this);
  RunLoop::main().cancelPendingCalls(&scripts_);
}

SimUIWebView* SimUIWebView::of(WebView& view) { return dynamic_cast<SimUIWebView*>(&view.webPeer()); }

std::optional<URLRequest> SimUIWebView::currentRequest() const {
  if (history_.empty()) return std::nullopt;
  return history_[index_];
}

// A new entry drops what lay ahead of the current one, as browsing does.
void SimUIWebView::commit(const URLRequest& request, bool newEntry) {
  if (newEntry) {
    if (!history_.empty()) history_.erase(history_.begin() + long(index_) + 1, history_.end());
    history_.push_back(request);
    index_ = history_.size() - 1;
  }
  started_ = false;  // a load in progress is replaced (the view reported it)
  scheduleStart();
}

void SimUIWebView::scheduleStart() {
  RunLoop::main().cancelPendingCalls(this);
  startDue_ = true;
  RunLoop::main().performNextPass(this, [this] { start(); });
}

void SimUIWebView::start() {
  if (!startDue_) return;
  startDue_ = false;
  started_ = true;
  auto alive = alive_;
  host_.peerDidStartLoad();
  if (!*alive) return;
  if (autoFinish_ && started_)
    RunLoop::main().performNextPass(this, [this] {
      if (started_) end(std::nullopt);
    });
}

void SimUIWebView::end(const std::optional<Error>& error) {
  if (startDue_) {
    auto alive = alive_;
    start();
    if (!*alive) return;
  }
  if (!started_) return;
  started_ = false;
  if (error)
    host_.peerDidFailLoad(*error);
  else
    host_.peerDidFinishLoad();
}

// ---- the page ----

bool SimUIWebView::navigate(const URLRequest& request, WebViewNavigationType type) {
  auto alive = alive_;
  bool allowed = host_.peerShouldStartLoad(request, type);
  if (!*alive) return allowed;
  if (allowed) {
    html_.reset();
    baseURL_.reset();
    commit(request, type != WebViewNavigationType::Reload && type != WebViewNavigationType::BackForward);
  }
  return allowed;
}

bool SimUIWebView::navigate(const std::string& url, WebViewNavigationType type) {
  auto parsed = Url::parse(url);
  return parsed && navigate(URLRequest(*parsed), type);
}

bool SimUIWebView::redirect(const std::string& url) {
  auto parsed = Url::parse(url);
  if (!parsed || !isLoadInProgress()) return false;
  URLRequest request(*parsed);
  auto alive = alive_;
  bool allowed = host_.peerShouldStartLoad(request, WebViewNavigationType::Other);
  if (!*alive) return allowed;
  if (allowed) {
    if (!history_.empty()) history_[index_] = request;
  } else {
    end(Error::withDescription("WebKitErrorDomain", 102, "Frame load interrupted"));
  }
  return allowed;
}

void SimUIWebView::finishLoad() { end(std::nullopt); }
void SimUIWebView::failLoad(const Error& error) { end(error); }

void SimUIWebView::touch(Point point) { SimUIBackend::touch(view_, point); }

// ---- told by the view ----

void SimUIWebView::loadRequest(const URLRequest& request) {
  html_.reset();
  baseURL_.reset();
  commit(request, true);
}

void SimUIWebView::loadHTMLString(const std::string& html, const std::optional<Url>& baseURL) {
  html_ = html;
  baseURL_ = baseURL;
  commit(URLRequest(baseURL ? *baseURL : *Url::parse("about:blank")), true);
}

void SimUIWebView::stopLoading() {
  ++stops_;
  RunLoop::main().cancelPendingCalls(this);
  startDue_ = started_ = false;
}

void SimUIWebView::reload() {
  if (!history_.empty()) commit(history_[index_], false);
}

void SimUIWebView::goBack() {
  if (history_.empty() || index_ == 0) return;
  --index_;
  commit(history_[index_], false);
}

void SimUIWebView::goForward() {
  if (history_.empty() || index_ + 1 >= history_.size()) return;
  ++index_;
  commit(history_[index_], false);
}

std::optional<URLRequest> SimUIWebView::historyRequest(int offset) const {
  if (history_.empty()) return std::nullopt;
  long target = long(index_) + offset;
  if (target < 0 || target >= long(history_.size())) return std::nullopt;
  return history_[size_t(target)];
}

// ---- scripts ----

void SimUIWebView::evaluateJavaScript(uint64_t ticket, const std::string& script) {
  scripts_.push_back(script);
  waiting_.push_back(ticket);
  if (!responder_) return;
  // Answered on a later pass, never inside the evaluation call.
  RunLoop::main().performAfter(&scripts_, 0, [this, ticket, script] {
    auto it = std::find(waiting_.begin(), waiting_.end(), ticket);
    if (it == waiting_.end()) return;
    waiting_.erase(it);
    auto result = responder_ ? responder_(script) : std::nullopt;
    host_.peerDidEvaluateJavaScript(ticket, std::move(result));
  });
}

bool SimUIWebView::answerScript(std::optional<std::string> result) {
  if (waiting_.empty()) return false;
  uint64_t ticket = waiting_.front();
  waiting_.erase(waiting_.begin());
  host_.peerDidEvaluateJavaScript(ticket, std::move(result));
  return true;
}

}  // namespace pf
