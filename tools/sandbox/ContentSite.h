#pragma once

#include "HttpHost.h"
#include "StaticFiles.h"

// The series' web site: /classiclist.html, /contacts.html, /more.html and their assets,
// read from www/site. "/" leads to the episode list.
class ContentSite {
 public:
  ContentSite(HttpHost& host, const WwwRoot& www);

 private:
  StaticFiles files_;
};
