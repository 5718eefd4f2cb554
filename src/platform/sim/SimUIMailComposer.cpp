#include "platform/sim/SimUIMailComposer.h"


namespace pf {

SimUIMailComposer* SimUIMailComposer::of(MailComposeViewController& composer) {
  return dynamic_cast<SimUIMailComposer*>(&composer.composerPeer());
}

}  // namespace pf
