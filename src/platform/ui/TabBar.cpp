#include "platform/ui/TabBar.h"

#include "platform/ui/UIBackend.h"

namespace pf {

std::shared_ptr<TabBar> TabBar::create(const Rect& frame) {
  return std::shared_ptr<TabBar>(new TabBar(frame));
}

TabBar::TabBar(const Rect& frame) : View(frame, UIBackend::current().makeTabBarPeer(*this)) {
  tabPeer_ = static_cast<TabBarPeer*>(&peer());
}

void TabBar::setItems(std::vector<TabBarItem> items) {
  items_ = std::move(items);
  tabPeer_->setItems(items_);
}

void TabBar::setSelectedIndex(size_t index) {
  selectedIndex_ = index;
  tabPeer_->setSelectedIndex(index);
}

void TabBar::userSelectedIndex(size_t index) {
  if (index >= items_.size() || !onSelect_) return;
  auto handler = onSelect_;  // the handler may replace itself
  handler(index);
}

}  // namespace pf
