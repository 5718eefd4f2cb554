#include "platform/gtk/GtkWebError.h"

#include <gio/gio.h>
#include <webkit/webkit.h>

#include "platform/net/URLError.h"

namespace pf {

Error GtkWebError::fromGError(const GError* error, const std::string& failingURI) {
  auto url = Url::parse(failingURI);
  std::string message = error && error->message ? error->message : "The page failed to load";
  if (!error) return URLError::make(-1, url);
  auto urlError = [&](long code) { return URLError::make(code, url); };
  if (error->domain == WEBKIT_NETWORK_ERROR) {
    switch (error->code) {
      case WEBKIT_NETWORK_ERROR_CANCELLED: return urlError(URLError::Cancelled);
      case WEBKIT_NETWORK_ERROR_UNKNOWN_PROTOCOL: return urlError(URLError::UnsupportedURL);
      case WEBKIT_NETWORK_ERROR_FILE_DOES_NOT_EXIST: return urlError(-1100);  // file does not exist
      default: break;
    }
  } else if (error->domain == WEBKIT_POLICY_ERROR) {
    // The engine's own numbering (100 cannot show MIME type … 102 interrupted by policy change).
    Value info = Value::dictionary();
    info.set(kLocalizedDescriptionKey, Value(message));
    info.set(kErrorFailingURLStringKey, Value(failingURI));
    return Error(kWebKitErrorDomain, error->code, info);
  } else if (error->domain == G_IO_ERROR) {
    switch (error->code) {
      case G_IO_ERROR_CANCELLED: return urlError(URLError::Cancelled);
      case G_IO_ERROR_TIMED_OUT: return urlError(URLError::TimedOut);
      case G_IO_ERROR_CONNECTION_REFUSED:
      case G_IO_ERROR_HOST_UNREACHABLE:
      case G_IO_ERROR_NETWORK_UNREACHABLE: return urlError(URLError::CannotConnectToHost);
      case G_IO_ERROR_CONNECTION_CLOSED: return urlError(URLError::NetworkConnectionLost);  // also "broken pipe"
      default: break;
    }
  } else if (error->domain == G_RESOLVER_ERROR) {
    return urlError(URLError::CannotFindHost);
  }
  Value info = Value::dictionary();
  info.set(kLocalizedDescriptionKey, Value(message));
  info.set(kErrorFailingURLStringKey, Value(failingURI));
  return Error(kURLErrorDomain, -1, info);
}

}  // namespace pf
