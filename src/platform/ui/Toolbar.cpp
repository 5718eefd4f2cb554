#include "platform/ui/Toolbar.h"

#include <algorithm>

#include "platform/ui/UIBackend.h"

namespace pf {

std::shared_ptr<Toolbar> Toolbar::create(const Rect& frame) {
  return std::shared_ptr<Toolbar>(new Toolbar(frame));
}

Toolbar::Toolbar(const Rect& frame) : View(frame, UIBackend::current().makeToolbarPeer(*this)) {
  toolbarPeer_ = static_cast<ToolbarPeer*>(&peer());
}

void Toolbar::setItems(std::vector<std::shared_ptr<BarButtonItem>> items, bool) {
  for (auto& old : items_)
    if (old->customView_ && old->customView_->superview().get() == this &&
        std::find(items.begin(), items.end(), old) == items.end())
      old->customView_->removeFromSuperview();
  items_ = std::move(items);
  auto self = std::static_pointer_cast<Toolbar>(shared_from_this());
  for (auto& item : items_) {
    bool known = std::any_of(item->toolbars_.begin(), item->toolbars_.end(),
                             [&](const auto& w) { return w.lock() == self; });
    if (!known) item->toolbars_.push_back(self);
  }
  layout();
}

void Toolbar::setTintColor(std::optional<Color> tint) {
  tint_ = tint;
  toolbarPeer_->setTintColor(tint_);
}

void Toolbar::itemChanged(const BarButtonItem& item) {
  bool shown = std::any_of(items_.begin(), items_.end(), [&](const auto& i) { return i.get() == &item; });
  if (!shown) return;
  layout();  // a width may have changed
  toolbarPeer_->itemChanged(item);
}

void Toolbar::layout() {
  double height = bounds().height();
  std::vector<double> widths;
  double fixed = 0;
  size_t flexible = 0, spaced = 0;
  for (auto& item : items_) {
    double w = 0;
    if (item->systemItem_ == BarButtonSystemItem::FlexibleSpace) {
      ++flexible;
    } else if (item->customView_ && item->width_ == 0) {
      w = item->customView_->frame().width();
    } else if (item->width_ > 0 || item->systemItem_ == BarButtonSystemItem::FixedSpace) {
      w = item->width_;
    } else if (item->systemItem_ == BarButtonSystemItem::Done || item->systemItem_ == BarButtonSystemItem::Cancel ||
               !item->title_.empty()) {
      w = kNaturalTextItemWidth;  // a word, not an icon
    } else {
      w = kNaturalItemWidth;
    }
    if (!item->isSpace()) ++spaced;
    widths.push_back(w);
    fixed += w;
  }
  double gaps = spaced > 1 ? kItemSpacing * double(spaced - 1) : 0;
  double room = bounds().width() - 2 * kEdgePadding - fixed - gaps;
  double flexWidth = flexible ? std::max(0.0, room / double(flexible)) : 0;
  frames_.clear();
  double x = kEdgePadding;
  bool previousWasButton = false;
  for (size_t i = 0; i < items_.size(); ++i) {
    auto& item = items_[i];
    bool button = !item->isSpace();
    if (button && previousWasButton) x += kItemSpacing;
    double w = item->systemItem_ == BarButtonSystemItem::FlexibleSpace ? flexWidth : widths[i];
    double h = item->customView_ ? item->customView_->frame().height() : std::min(height, 30.0);
    frames_.push_back(Rect(x, (height - h) / 2, w, h));
    x += w;
    if (button) previousWasButton = true;
    if (item->customView_) {
      item->customView_->setFrame(frames_.back());
      if (item->customView_->superview().get() != this) addSubview(item->customView_);
    }
  }
  toolbarPeer_->setItems(items_, frames_);
}

}  // namespace pf
