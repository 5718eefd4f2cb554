#pragma once
// pf::SimResponse: what the scripted server answers to one request, for SimURLTransport.
//
//   transport->respond("http://ads.example/ad", SimResponse::ok("<html>ad</html>")
//                                                  .header("X-Vize-Refresh-Rate", "30")
//                                                  .after(0.5));
//   transport->respond("http://ads.example/old", SimResponse::redirect(302, "/new"));
//   transport->respond("http://ads.example/cut", SimResponse::ok("").chunked({"ab", "cd"})
//                                                  .losingConnectionAfter(1));
//   transport->respond("http://down.example/", SimResponse::failure(URLError::CannotFindHost));
//
// Timing, in virtual seconds: the response (or the failure) comes `delay` after the request,
// each chunk `chunkInterval` after the one before (0: on the next pass), the end on the pass
// after the last chunk. Builders return the response itself so calls chain.
#include <cstddef>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/base/Error.h"

namespace pf {

struct SimResponse {
  int status = 200;
  // In order; a name given twice is sent once with the values joined by ", ".
  std::vector<std::pair<std::string, std::string>> headers;
  std::vector<std::string> chunks;  // the body, one data delivery per chunk
  double delay = 0;
  double chunkInterval = 0;
  // Fail instead of answering (after `delay`).
  std::optional<Error> error;
  // Fail once this many chunks were delivered, with `midBodyError` or else "network
  // connection lost"; no finish.
  std::optional<size_t> failAfterChunks;
  std::optional<Error> midBodyError;
  // Further responses of the same exchange (a stream that replaces its content), each
  // restarting the body.
  std::vector<SimResponse> replacements;

  // 200 with `body` as one chunk and a Content-Type.
  static SimResponse ok(std::string body, std::string contentType = "text/html; charset=utf-8");
  static SimResponse withStatus(int status, std::string body = {});
  // A 3xx with "Location": absolute, or relative to the request's URL.
  static SimResponse redirect(int status, std::string location);
  // A connection-level failure: an error of the URL error domain, or any error.
  static SimResponse failure(long urlErrorCode);
  static SimResponse failure(Error error);

  SimResponse& header(std::string name, std::string value);
  SimResponse& chunked(std::vector<std::string> bodyChunks);
  SimResponse& after(double seconds);
  SimResponse& chunksEvery(double seconds);
  SimResponse& losingConnectionAfter(size_t chunkCount,
                                     std::optional<Error> withError = std::nullopt);
  SimResponse& thenReplacedBy(SimResponse next);

  std::string body() const;  // the chunks joined
};

}  // namespace pf
