#pragma once

#include "Creative.h"
#include "WwwRoot.h"

#include <string>
#include <vector>

// Every test ad of the sandbox, in a fixed order: the banners that rotate by default
// (links, message senders, the redirect chain), then the failure roads and a banner that
// misbehaves, which are only served on demand.
class CreativeCatalogue {
 public:
  explicit CreativeCatalogue(const WwwRoot& www);

  const std::vector<Creative>& all() const { return creatives_; }
  const Creative* find(const std::string& name) const;
  std::vector<const Creative*> rotating() const;

 private:
  void addBanners();
  void addMessageSenders();
  void addFailureRoads();
  Creative& add(std::string name, Creative::Kind kind, std::string summary);

  const WwwRoot& www_;
  std::vector<Creative> creatives_;
};
