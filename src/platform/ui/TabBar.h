#pragma once
// pf::TabBar: the strip of tabs at the bottom of a tab bar controller's view (49 points).
#include <functional>
#include <memory>
#include <vector>

#include "platform/ui/TabBarPeer.h"
#include "platform/ui/View.h"

namespace pf {

class TabBar : public View {
 public:
  static constexpr double kHeight = 49;
  static std::shared_ptr<TabBar> create(const Rect& frame);

  const std::vector<TabBarItem>& items() const { return items_; }
  void setItems(std::vector<TabBarItem> items);
  size_t selectedIndex() const { return selectedIndex_; }
  void setSelectedIndex(size_t index);

  // The user picked a tab (backend or test). Tells the owner, which decides.
  void userSelectedIndex(size_t index);
  void setSelectionHandler(std::function<void(size_t)> handler) { onSelect_ = std::move(handler); }

 protected:
  explicit TabBar(const Rect& frame);

 private:
  TabBarPeer* tabPeer_;
  std::vector<TabBarItem> items_;
  size_t selectedIndex_ = 0;
  std::function<void(size_t)> onSelect_;  // captures its owner weakly
};

}  // namespace pf
