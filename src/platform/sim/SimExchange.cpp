#include "platform/sim/SimExchange.h"

#include "platform/base/RunLoop.h"

namespace pf {

std::shared_ptr<SimExchange> SimExchange::start(std::vector<Step> plan,
                                                std::weak_ptr<URLExchangeClient> client,
                                                std::weak_ptr<SimCookieJar> jar, std::string host) {
  std::shared_ptr<SimExchange> exchange(
      new SimExchange(std::move(plan), std::move(client), std::move(jar), std::move(host)));
  exchange->scheduleNext();
  return exchange;
}

SimExchange::SimExchange(std::vector<Step> plan, std::weak_ptr<URLExchangeClient> client,
                         std::weak_ptr<SimCookieJar> jar, std::string host)
    : plan_(std::move(plan)),
      client_(std::move(client)),
      jar_(std::move(jar)),
      host_(std::move(host)) {}

SimExchange::~SimExchange() { RunLoop::main().cancelPendingCalls(this); }

void SimExchange::cancel() {
  next_ = plan_.size();
  RunLoop::main().cancelPendingCalls(this);
}

void SimExchange::scheduleNext() {
  if (!isRunning()) return;
  // Held weakly: an exchange its connection let go of plays no further.
  RunLoop::main().performAfter(this, plan_[next_].delay, [weak = weak_from_this()] {
    if (auto self = weak.lock()) self->runStep();
  });
}

void SimExchange::runStep() {
  if (!isRunning()) return;
  auto client = client_.lock();
  if (!client) return cancel();
  const Step& step = plan_[next_++];
  bool last = step.kind == Step::Kind::Finish || step.kind == Step::Kind::Fail;
  if (last) next_ = plan_.size();
  auto protect = shared_from_this();  // the client may drop us while it is called
  switch (step.kind) {
    case Step::Kind::Response:
      if (auto jar = jar_.lock())
        for (const auto& value : step.setCookies) jar->store(host_, value);
      client->exchangeDidReceiveResponse(*step.response);
      break;
    case Step::Kind::Data: client->exchangeDidReceiveData(step.data); break;
    case Step::Kind::Finish: client->exchangeDidFinish(); break;
    case Step::Kind::Fail: client->exchangeDidFail(*step.error); break;
  }
  scheduleNext();  // not after cancel(): isRunning() is false then
}

}  // namespace pf
