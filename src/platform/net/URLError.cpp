#include "platform/net/URLError.h"

namespace pf {

const char* URLError::message(long code) {
  switch (code) {
    case Cancelled: return "cancelled";
    case BadURL: return "bad URL";
    case TimedOut: return "The request timed out.";
    case UnsupportedURL: return "unsupported URL";
    case CannotFindHost: return "A server with the specified hostname could not be found.";
    case CannotConnectToHost: return "Could not connect to the server.";
    case NetworkConnectionLost: return "The network connection was lost.";
    case HTTPTooManyRedirects: return "too many HTTP redirects";
    case NotConnectedToInternet: return "The Internet connection appears to be offline.";
    case BadServerResponse: return "The server returned a bad response.";
    case SecureConnectionFailed: return "An SSL error has occurred and a secure connection to the server cannot be made.";
    default: return "The operation couldn't be completed.";
  }
}

Error URLError::make(long code, const std::optional<Url>& failingURL) {
  Value info = Value::dictionary({{kLocalizedDescriptionKey, Value(message(code))}});
  if (failingURL) info.set(kErrorFailingURLStringKey, Value(failingURL->absoluteString()));
  return Error(kURLErrorDomain, code, std::move(info));
}

}  // namespace pf
