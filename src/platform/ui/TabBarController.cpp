#include "platform/ui/TabBarController.h"

#include "platform/ui/Screen.h"

namespace pf {

std::shared_ptr<TabBarController> TabBarController::create() {
  auto tabs = std::shared_ptr<TabBarController>(new TabBarController());
  registerLive(tabs);
  return tabs;
}

void TabBarController::loadView() {
  Rect frame = Screen::applicationFrame();
  auto root = View::create(frame);
  root->setAutoresizingMask(View::FlexibleWidth | View::FlexibleHeight);
  double w = frame.width(), h = frame.height();
  content_ = View::create(Rect(0, 0, w, h - TabBar::kHeight));
  content_->setAutoresizingMask(View::FlexibleWidth | View::FlexibleHeight);
  tabBar_ = TabBar::create(Rect(0, h - TabBar::kHeight, w, TabBar::kHeight));
  tabBar_->setAutoresizingMask(View::FlexibleWidth | View::FlexibleTopMargin);
  tabBar_->setSelectionHandler([weak = std::weak_ptr<ViewController>(weak_from_this())](size_t i) {
    if (auto self = std::static_pointer_cast<TabBarController>(weak.lock())) self->setSelectedIndex(i);
  });
  root->addSubview(content_);
  root->addSubview(tabBar_);
  setView(root);
  refreshItems();
  installSelected();
}

std::shared_ptr<TabBar> TabBarController::tabBar() {
  view();
  return tabBar_;
}

void TabBarController::setViewControllers(std::vector<std::shared_ptr<ViewController>> controllers) {
  auto self = std::static_pointer_cast<ViewController>(shared_from_this());
  bool shown = isAppeared();
  auto old = selectedViewController();
  for (auto& c : children_) {
    if (c->isViewLoaded() && content_ && c->view()->superview() == content_) {
      if (shown) c->beginAppearanceTransition(false, false);
      c->view()->removeFromSuperview();
      if (shown) c->endAppearanceTransition();
    }
    c->clearContainerParent();
  }
  children_ = std::move(controllers);
  for (auto& c : children_) c->setContainerParent(self);
  selectedIndex_ = 0;
  refreshItems();
  if (isViewLoaded()) {
    auto selected = selectedViewController();
    if (selected && shown) selected->beginAppearanceTransition(true, false);
    installSelected();
    if (selected && shown) selected->endAppearanceTransition();
  }
}

std::shared_ptr<ViewController> TabBarController::selectedViewController() const {
  return selectedIndex_ < children_.size() ? children_[selectedIndex_] : nullptr;
}

void TabBarController::setSelectedIndex(size_t index) {
  if (index >= children_.size() || index == selectedIndex_) return;
  auto keep = shared_from_this();
  auto from = selectedViewController();
  auto to = children_[index];
  bool shown = isAppeared() && isViewLoaded();
  if (shown) {
    from->beginAppearanceTransition(false, false);
    to->beginAppearanceTransition(true, false);
  }
  if (from->isViewLoaded() && from->view()->superview() == content_) from->view()->removeFromSuperview();
  selectedIndex_ = index;
  if (isViewLoaded()) {
    installSelected();
    tabBar_->setSelectedIndex(index);
  }
  if (shown) {
    from->endAppearanceTransition();
    to->endAppearanceTransition();
  }
}

void TabBarController::installSelected() {
  auto selected = selectedViewController();
  if (!selected || !content_) return;
  auto v = selected->view();
  if (v->superview() == content_) return;
  v->setFrame(content_->bounds());
  v->setAutoresizingMask(View::FlexibleWidth | View::FlexibleHeight);
  content_->addSubview(v);
}

std::vector<std::shared_ptr<ViewController>> TabBarController::appearanceChildren() const {
  if (auto s = selectedViewController()) {
    const_cast<TabBarController*>(this)->installSelected();  // after an unload, show it again
    return {s};
  }
  return {};
}

void TabBarController::childTabBarItemChanged() { refreshItems(); }

void TabBarController::refreshItems() {
  if (!tabBar_) return;
  std::vector<TabBarItem> items;
  for (auto& c : children_) {
    TabBarItem item = c->tabBarItem();
    if (item.title.empty()) item.title = c->title();
    items.push_back(std::move(item));
  }
  tabBar_->setItems(std::move(items));
  tabBar_->setSelectedIndex(selectedIndex_);
}

bool TabBarController::shouldAutorotateToInterfaceOrientation(InterfaceOrientation o) {
  if (children_.empty()) return ViewController::shouldAutorotateToInterfaceOrientation(o);
  for (auto& c : children_)
    if (!c->shouldAutorotateToInterfaceOrientation(o)) return false;
  return true;
}

}  // namespace pf
