#include "DesktopNetTest.h"

#include "platform/net/HTTPSettings.h"

DesktopNetTest::DesktopNetTest() {
  pf::HTTPSettings::reset();
  parts_ = pf::DesktopPlatform::install();
}

void DesktopNetTest::TearDown() {
  pf::DesktopPlatform::uninstall();
  parts_ = {};
  drainMainContext();
  pf::HTTPSettings::reset();
}

pf::URLRequest DesktopNetTest::request(const std::string& url, double timeout) {
  return pf::URLRequest(*pf::Url::parse(url), pf::URLRequestCachePolicy::UseProtocolCachePolicy, timeout);
}

std::shared_ptr<pf::URLConnection> DesktopNetTest::load(
    const pf::URLRequest& r, const std::shared_ptr<RecordingConnectionDelegate>& delegate, double seconds) {
  auto connection = pf::URLConnection::create(r, delegate);
  EXPECT_TRUE(runMainContextUntil([&] { return delegate->ended(); }, seconds))
      << "load of " << r.url().absoluteString() << " did not end";
  return connection;
}

DesktopNetTest::Answer DesktopNetTest::fetch(const std::string& url, const pf::HTTPHeaderFields& headers,
                                             bool followRedirects) {
  auto r = request(url);
  for (const auto& [name, value] : headers.fields()) r.setValueForHTTPHeaderField(value, name);
  auto delegate = std::make_shared<RecordingConnectionDelegate>(true);
  if (!followRedirects)
    delegate->onWillSend = [](pf::URLConnection&, const pf::URLRequest& next,
                              const std::optional<pf::URLResponse>& redirect) {
      return redirect ? std::nullopt : std::optional<pf::URLRequest>(next);
    };
  load(r, delegate);
  Answer answer;
  if (!delegate->responses.empty()) {
    answer.status = delegate->responses.back().statusCode();
    answer.headers = delegate->responses.back().allHeaderFields();
    answer.body = delegate->body();
  }
  answer.error = delegate->error;
  return answer;
}
