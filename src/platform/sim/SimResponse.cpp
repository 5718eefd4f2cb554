#include "platform/sim/SimResponse.h"

#include "platform/net/URLError.h"

namespace pf {

SimResponse SimResponse::ok(std::string body, std::string contentType) {
  SimResponse r;
  r.headers.emplace_back("Content-Type", std::move(contentType));
  r.chunks.push_back(std::move(body));
  return r;
}

SimResponse SimResponse::withStatus(int status, std::string body) {
  SimResponse r;
  r.status = status;
  if (!body.empty()) r.chunks.push_back(std::move(body));
  return r;
}

SimResponse SimResponse::redirect(int status, std::string location) {
  SimResponse r;
  r.status = status;
  r.headers.emplace_back("Location", std::move(location));
  return r;
}

SimResponse SimResponse::failure(long urlErrorCode) {
  return failure(URLError::make(urlErrorCode));
}

SimResponse SimResponse::failure(Error error) {
  SimResponse r;
  r.error = std::move(error);
  return r;
}

SimResponse& SimResponse::header(std::string name, std::string value) {
  headers.emplace_back(std::move(name), std::move(value));
  return *this;
}

SimResponse& SimResponse::chunked(std::vector<std::string> bodyChunks) {
  chunks = std::move(bodyChunks);
  return *this;
}

SimResponse& SimResponse::after(double seconds) {
  delay = seconds;
  return *this;
}

SimResponse& SimResponse::chunksEvery(double seconds) {
  chunkInterval = seconds;
  return *this;
}

SimResponse& SimResponse::losingConnectionAfter(size_t chunkCount, std::optional<Error> withError) {
  failAfterChunks = chunkCount;
  midBodyError = std::move(withError);
  return *this;
}

SimResponse& SimResponse::thenReplacedBy(SimResponse next) {
  replacements.push_back(std::move(next));
  return *this;
}

std::string SimResponse::body() const {
  std::string out;
  for (const auto& chunk : chunks) out += chunk;
  return out;
}

}  // namespace pf
