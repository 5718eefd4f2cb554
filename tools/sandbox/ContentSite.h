#pragma once

#include "Router.h"
#include "StaticFiles.h"

// The series' web site: /classiclist.html, /contacts.html, /more.html and their assets,
// read from www/site. "/" leads to the episode list.
class ContentSite {
 public:
  ContentSite(Router& router, const WwwRoot& www);
  ContentSite(const ContentSite&) = delete;
  ContentSite& operator=(const ContentSite&) = delete;

 private:
  StaticFiles files_;
  Router::Route route_;  // last: removed before files_
};
