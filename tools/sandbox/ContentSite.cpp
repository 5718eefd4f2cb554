#include "ContentSite.h"

ContentSite::ContentSite(Router& router, const WwwRoot& www)
    : files_(www, "site"), route_(router.add("/", [this](const Request& request) {
        if (request.path == "/") return Answer::redirect("/classiclist.html");
        return files_.serve(request, "/");
      })) {}
