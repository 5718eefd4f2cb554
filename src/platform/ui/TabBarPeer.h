#pragma once
// pf::TabBarPeer: draws the strip of tabs. A tab the user picks is reported with
// TabBar::userSelectedIndex.
#include <vector>

#include "platform/ui/TabBarItem.h"
#include "platform/ui/ViewPeer.h"

namespace pf {

class TabBarPeer : public ViewPeer {
 public:
  virtual void setItems(const std::vector<TabBarItem>& /*items*/) {}
  virtual void setSelectedIndex(size_t /*index*/) {}
};

}  // namespace pf
