#include "platform/net/URLTransport.h"

namespace pf {

namespace {
std::shared_ptr<URLTransport>& slot() {
  static std::shared_ptr<URLTransport> transport;
  return transport;
}
}  // namespace

std::shared_ptr<URLTransport> URLTransport::installed() { return slot(); }

std::shared_ptr<URLTransport> URLTransport::install(std::shared_ptr<URLTransport> transport) {
  std::swap(slot(), transport);
  return transport;
}

}  // namespace pf
