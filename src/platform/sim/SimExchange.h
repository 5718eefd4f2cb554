#pragma once
// pf::SimExchange: one scripted exchange of SimURLTransport — a plan of events (response,
// data, end or failure) played to its client on the main run loop, each after its delay in
// virtual seconds, one per pass at least.
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/base/Error.h"
#include "platform/net/URLExchange.h"
#include "platform/net/URLResponse.h"
#include "platform/sim/SimCookieJar.h"

namespace pf {

class SimExchange final : public URLExchange, public std::enable_shared_from_this<SimExchange> {
 public:
  struct Step {
    enum class Kind { Response, Data, Finish, Fail };
    Kind kind = Kind::Finish;
    double delay = 0;  // after the step before (or the request)
    std::optional<URLResponse> response;
    std::string data;
    std::optional<Error> error;
    std::vector<std::string> setCookies;  // "Set-Cookie" values stored when the response arrives
  };

  // Schedules the first step; nothing reaches `client` before a later pass.
  static std::shared_ptr<SimExchange> start(std::vector<Step> plan,
                                            std::weak_ptr<URLExchangeClient> client,
                                            std::weak_ptr<SimCookieJar> jar, std::string host);
  ~SimExchange() override;

  void cancel() override;
  bool isRunning() const { return next_ < plan_.size(); }

 private:
  SimExchange(std::vector<Step> plan, std::weak_ptr<URLExchangeClient> client,
              std::weak_ptr<SimCookieJar> jar, std::string host);
  void scheduleNext();
  void runStep();

  std::vector<Step> plan_;
  size_t next_ = 0;
  std::weak_ptr<URLExchangeClient> client_;  // not retained
  std::weak_ptr<SimCookieJar> jar_;
  std::string host_;
};

}  // namespace pf
