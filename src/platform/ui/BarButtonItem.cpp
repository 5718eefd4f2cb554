#include "platform/ui/BarButtonItem.h"

#include "platform/ui/Toolbar.h"

namespace pf {

std::shared_ptr<BarButtonItem> BarButtonItem::withSystemItem(BarButtonSystemItem item, Action action) {
  auto b = std::shared_ptr<BarButtonItem>(new BarButtonItem());
  b->systemItem_ = item;
  b->action_ = std::move(action);
  if (item == BarButtonSystemItem::Done) b->style_ = BarButtonItemStyle::Done;
  return b;
}

std::shared_ptr<BarButtonItem> BarButtonItem::withImage(std::shared_ptr<const Image> image, BarButtonItemStyle style,
                                                        Action action) {
  auto b = std::shared_ptr<BarButtonItem>(new BarButtonItem());
  b->image_ = std::move(image);
  b->style_ = style;
  b->action_ = std::move(action);
  return b;
}

std::shared_ptr<BarButtonItem> BarButtonItem::withTitle(std::string title, BarButtonItemStyle style, Action action) {
  auto b = std::shared_ptr<BarButtonItem>(new BarButtonItem());
  b->title_ = std::move(title);
  b->style_ = style;
  b->action_ = std::move(action);
  return b;
}

std::shared_ptr<BarButtonItem> BarButtonItem::withCustomView(std::shared_ptr<View> view) {
  auto b = std::shared_ptr<BarButtonItem>(new BarButtonItem());
  b->customView_ = std::move(view);
  return b;
}

void BarButtonItem::setStyle(BarButtonItemStyle style) {
  style_ = style;
  changed();
}
void BarButtonItem::setWidth(double width) {
  width_ = width;
  changed();
}
void BarButtonItem::setEnabled(bool enabled) {
  if (enabled_ == enabled) return;
  enabled_ = enabled;
  changed();
}
void BarButtonItem::setIsAccessibilityElement(bool on) {
  accessibilityElement_ = on;
  changed();
}
void BarButtonItem::setAccessibilityLabel(std::string label) {
  accessibilityLabel_ = std::move(label);
  changed();
}

void BarButtonItem::performAction() {
  if (!enabled_ || !action_ || isSpace()) return;
  auto keep = shared_from_this();
  auto action = action_;  // the action may replace itself
  action();
}

void BarButtonItem::changed() {
  std::erase_if(toolbars_, [](const auto& w) { return w.expired(); });
  auto shown = toolbars_;
  for (auto& w : shown)
    if (auto t = w.lock()) t->itemChanged(*this);
}

}  // namespace pf
