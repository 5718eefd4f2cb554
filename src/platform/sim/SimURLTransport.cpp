#include "platform/sim/SimURLTransport.h"

#include <algorithm>

#include "platform/net/HTTPHeaderFields.h"
#include "platform/net/HTTPSettings.h"
#include "platform/net/URLError.h"

namespace pf {

namespace {
using Step = SimExchange::Step;

Step failStep(double delay, Error error, const Url& url) {
  // Errors of the URL domain name the URL that failed, as a real connection's do.
  if (error.domain() == kURLErrorDomain && !error.userInfo().contains(kErrorFailingURLStringKey)) {
    Value info = error.userInfo();
    info.set(kErrorFailingURLStringKey, Value(url.absoluteString()));
    error = Error(error.domain(), error.code(), std::move(info), error.underlyingError());
  }
  Step step;
  step.kind = Step::Kind::Fail;
  step.delay = delay;
  step.error = std::move(error);
  return step;
}

// Appends the steps of one response; false when it ends the exchange with a failure.
bool appendResponse(std::vector<Step>& steps, const URLRequest& request, const SimResponse& r,
                    bool storeCookies) {
  const Url& url = request.url();
  if (r.error) {
    steps.push_back(failStep(r.delay, *r.error, url));
    return false;
  }
  HTTPHeaderFields headers;
  Step head;
  head.kind = Step::Kind::Response;
  head.delay = r.delay;
  for (const auto& [name, value] : r.headers) {
    headers.addValue(value, name);
    if (storeCookies && HTTPHeaderFields::namesEqual(name, "Set-Cookie"))
      head.setCookies.push_back(value);
  }
  if (!headers.contains("Content-Length"))
    headers.setValue(std::to_string(r.body().size()), "Content-Length");
  head.response = URLResponse(url, r.status, std::move(headers));
  steps.push_back(std::move(head));

  for (size_t i = 0; i <= r.chunks.size(); ++i) {
    if (r.failAfterChunks && *r.failAfterChunks == i) {
      steps.push_back(
          failStep(r.chunkInterval,
                   r.midBodyError.value_or(URLError::make(URLError::NetworkConnectionLost)), url));
      return false;
    }
    if (i == r.chunks.size()) break;
    Step data;
    data.kind = Step::Kind::Data;
    data.delay = r.chunkInterval;
    data.data = r.chunks[i];
    steps.push_back(std::move(data));
  }
  return true;
}
}  // namespace

SimURLTransport::SimURLTransport() : cookies_(std::make_shared<SimCookieJar>()) {}

std::shared_ptr<SimURLTransport> SimURLTransport::install() {
  auto transport = std::make_shared<SimURLTransport>();
  URLTransport::install(transport);
  return transport;
}

void SimURLTransport::respond(std::string url, SimResponse response, Uses uses) {
  respondWhen(
      [url = std::move(url)](const URLRequest& r) { return r.url().absoluteString() == url; },
      [response = std::move(response)](const URLRequest&) { return response; }, uses);
}

void SimURLTransport::respondToPrefix(std::string prefix, SimResponse response, Uses uses) {
  respondWhen([prefix = std::move(prefix)](
                  const URLRequest& r) { return r.url().absoluteString().starts_with(prefix); },
              [response = std::move(response)](const URLRequest&) { return response; }, uses);
}

void SimURLTransport::respondWhen(Matcher matcher, Responder responder, Uses uses) {
  entries_.push_back(Entry{std::move(matcher), std::move(responder), uses});
}

void SimURLTransport::clearScript() { entries_.clear(); }

std::vector<URLRequest> SimURLTransport::requestsFor(std::string_view url) const {
  std::vector<URLRequest> out;
  std::copy_if(requests_.begin(), requests_.end(), std::back_inserter(out),
               [url](const URLRequest& r) { return r.url().absoluteString() == url; });
  return out;
}

SimResponse SimURLTransport::answer(const URLRequest& request) {
  if (offline_) return SimResponse::failure(URLError::NotConnectedToInternet);
  auto once = std::find_if(entries_.begin(), entries_.end(), [&](const Entry& e) {
    return e.uses == Uses::Once && e.matcher(request);
  });
  if (once != entries_.end()) {
    Responder responder = std::move(once->responder);
    entries_.erase(once);
    return responder(request);
  }
  auto standing = std::find_if(entries_.rbegin(), entries_.rend(), [&](const Entry& e) {
    return e.uses == Uses::Forever && e.matcher(request);
  });
  if (standing != entries_.rend()) {
    Responder responder = standing->responder;  // it may script more entries while it runs
    return responder(request);
  }
  return SimResponse::failure(URLError::CannotConnectToHost);
}

std::vector<Step> SimURLTransport::plan(const URLRequest& request, const SimResponse& response,
                                        bool storeCookies) {
  std::vector<Step> steps;
  if (!appendResponse(steps, request, response, storeCookies)) return steps;
  for (const auto& next : response.replacements)
    if (!appendResponse(steps, request, next, storeCookies)) return steps;
  Step finish;
  finish.kind = Step::Kind::Finish;
  steps.push_back(std::move(finish));
  return steps;
}

std::shared_ptr<URLExchange> SimURLTransport::send(const URLRequest& request,
                                                   std::weak_ptr<URLExchangeClient> client) {
  URLRequest wire = request;
  const std::string& host = request.url().host();
  bool withCookies = HTTPSettings::handlesCookies(request.httpShouldHandleCookies());
  if (withCookies && !wire.valueForHTTPHeaderField("Cookie"))
    if (auto cookie = cookies_->cookieHeader(host))
      wire.setValueForHTTPHeaderField(*cookie, "Cookie");
  requests_.push_back(wire);
  SimResponse response = answer(wire);
  return SimExchange::start(plan(wire, response, withCookies), std::move(client), cookies_, host);
}

}  // namespace pf
