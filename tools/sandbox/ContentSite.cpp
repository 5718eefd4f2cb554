#include "ContentSite.h"

#include "Reply.h"

ContentSite::ContentSite(HttpHost& host, const WwwRoot& www) : files_(www, "site") {
  host.route("/", [this](SoupServerMessage* msg) {
    if (Reply::path(msg) == "/") {
      Reply::redirect(msg, "/classiclist.html");
      return;
    }
    files_.serve(msg, "/");
  });
}
