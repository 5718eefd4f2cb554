#include "platform/net/Reachability.h"

#include "platform/base/RunLoop.h"

namespace pf {

// The observer registered with the provider; holds its Reachability weakly.
class Reachability::Watcher final : public ReachabilityObserver {
 public:
  explicit Watcher(std::weak_ptr<Reachability> owner) : owner_(std::move(owner)) {}
  void reachabilityMayHaveChanged() override {
    if (auto owner = owner_.lock()) owner->scheduleReport();
  }

 private:
  std::weak_ptr<Reachability> owner_;
};

std::shared_ptr<Reachability> Reachability::createWithName(const std::string& host) {
  auto provider = ReachabilityProvider::installed();
  if (!provider || !provider->canWatchHost(host)) return nullptr;
  return std::shared_ptr<Reachability>(new Reachability(host, std::move(provider)));
}

Reachability::Reachability(std::string host, std::shared_ptr<ReachabilityProvider> provider)
    : host_(std::move(host)), provider_(std::move(provider)) {}

Reachability::~Reachability() {
  RunLoop::main().cancelPendingCalls(this);
  if (watcher_) provider_->removeObserver(watcher_.get());
}

bool Reachability::startNotifier() {
  if (watcher_) return true;
  watcher_ = std::make_shared<Watcher>(weak_from_this());
  provider_->addObserver(watcher_);
  lastReported_.reset();  // a restarted notifier reports the current flags again
  scheduleReport();
  return true;
}

void Reachability::stopNotifier() {
  if (!watcher_) return;
  provider_->removeObserver(watcher_.get());
  watcher_.reset();
  RunLoop::main().cancelPendingCalls(this);
  reportScheduled_ = false;
}

void Reachability::scheduleReport() {
  if (!watcher_ || reportScheduled_) return;
  reportScheduled_ = true;
  // Dropped with this object (cancelled in the destructor; the capture is weak).
  RunLoop::main().performNextPass(this, [weak = weak_from_this()] {
    if (auto self = weak.lock()) self->report();
  });
}

void Reachability::report() {
  reportScheduled_ = false;
  if (!watcher_) return;
  auto current = flags();
  if (!current || current == lastReported_) return;
  lastReported_ = current;
  if (!callback_) return;
  auto protect = shared_from_this();
  auto callback = callback_;  // the callback may replace itself
  callback(*current);
}

}  // namespace pf
