#pragma once
// pf::TabBarController: a container showing one of its controllers at a time above a tab
// bar (UITabBarController on the phone). Its view holds the content area and the 49-point
// tab bar; the selected controller's view fills the content area. The selected child appears
// and disappears with the tab bar controller, and switching tabs makes the old child disappear
// and the new one appear. It rotates only to orientations that every child accepts.
#include <memory>
#include <vector>

#include "platform/ui/TabBar.h"
#include "platform/ui/ViewController.h"

namespace pf {

class TabBarController : public ViewController {
 public:
  static std::shared_ptr<TabBarController> create();

  const std::vector<std::shared_ptr<ViewController>>& viewControllers() const { return children_; }
  void setViewControllers(std::vector<std::shared_ptr<ViewController>> controllers);
  size_t selectedIndex() const { return selectedIndex_; }
  void setSelectedIndex(size_t index);
  std::shared_ptr<ViewController> selectedViewController() const;
  std::shared_ptr<TabBar> tabBar();

  void loadView() override;
  bool shouldAutorotateToInterfaceOrientation(InterfaceOrientation o) override;

  // A child's title or item changed (called by the child).
  void childTabBarItemChanged();

 protected:
  TabBarController() = default;
  std::vector<std::shared_ptr<ViewController>> appearanceChildren() const override;

 private:
  void installSelected();
  void refreshItems();

  std::vector<std::shared_ptr<ViewController>> children_;  // owned
  size_t selectedIndex_ = 0;
  std::shared_ptr<TabBar> tabBar_;
  std::shared_ptr<View> content_;
};

}  // namespace pf
