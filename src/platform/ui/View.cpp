#include "platform/ui/View.h"

#include <algorithm>

#include "platform/ui/UIBackend.h"
#include "platform/ui/ViewController.h"
#include "platform/ui/Window.h"

namespace pf {

std::shared_ptr<View> View::create(const Rect& frame) {
  return std::shared_ptr<View>(new View(frame));
}

View::View(const Rect& frame) : View(frame, nullptr) {}

View::View(const Rect& frame, std::unique_ptr<ViewPeer> peer)
    : peer_(peer ? std::move(peer) : UIBackend::current().makeViewPeer(*this)),
      frame_(frame),
      bounds_(0, 0, frame.width(), frame.height()) {
  pushFrame();
}

View::~View() {
  // Subviews may outlive us (someone else holds them): they lose their superview.
  for (auto& sub : subviews_) sub->superview_.reset();
}

void View::pushFrame() { peer_->setFrame(frame_, bounds_); }

void View::setFrame(const Rect& frame) {
  Size oldSize = bounds_.size;
  frame_ = frame;
  bounds_.size = frame.size;
  pushFrame();
  if (!(oldSize == bounds_.size)) resizeSubviews(oldSize);
}

void View::setBounds(const Rect& bounds) {
  Size oldSize = bounds_.size;
  Point c = frame_.center();
  bounds_ = bounds;
  frame_ = Rect(c.x - bounds.width() / 2, c.y - bounds.height() / 2, bounds.width(), bounds.height());
  pushFrame();
  if (!(oldSize == bounds_.size)) resizeSubviews(oldSize);
}

void View::setCenter(Point c) {
  frame_.origin = {c.x - frame_.width() / 2, c.y - frame_.height() / 2};
  pushFrame();
}

void View::resizeSubviews(Size oldSize) {
  if (autoresizesSubviews_) {
    auto subs = subviews_;  // a subview's hooks may change the list
    for (auto& sub : subs) sub->autoresize(oldSize, bounds_.size);
  }
  layoutSubviews();
}

namespace {
// One axis of autoresizing, as the phone toolkit does it: the change `delta` of the superview's length is
// shared among the flexible parts in proportion to their current lengths.
void distribute(double delta, double superLength, double& origin, double& length,
                bool flexLead, bool flexSize, bool flexTrail) {
  if (!flexLead && !flexSize && !flexTrail) return;
  double lead = origin, size = length, trail = superLength - origin - length;
  double total = (flexLead ? lead : 0) + (flexSize ? size : 0) + (flexTrail ? trail : 0);
  int count = int(flexLead) + int(flexSize) + int(flexTrail);
  auto share = [&](bool flexible, double part) {
    if (!flexible) return 0.0;
    return total != 0 ? delta * part / total : delta / count;
  };
  origin += share(flexLead, lead);
  length += share(flexSize, size);
  if (length < 0) length = 0;
}
}  // namespace

void View::autoresize(Size oldSuper, Size newSuper) {
  unsigned m = autoresizingMask_;
  if (m == None) return;
  Rect f = frame_;
  distribute(newSuper.width - oldSuper.width, oldSuper.width, f.origin.x, f.size.width,
             m & FlexibleLeftMargin, m & FlexibleWidth, m & FlexibleRightMargin);
  distribute(newSuper.height - oldSuper.height, oldSuper.height, f.origin.y, f.size.height,
             m & FlexibleTopMargin, m & FlexibleHeight, m & FlexibleBottomMargin);
  if (!(f == frame_)) setFrame(f);
}

void View::setHidden(bool hidden) {
  if (hidden_ == hidden) return;
  hidden_ = hidden;
  peer_->setHidden(hidden);
}

void View::setBackgroundColor(const Color& color) {
  backgroundColor_ = color;
  peer_->setBackgroundColor(color);
}

void View::setOpaque(bool opaque) {
  opaque_ = opaque;
  peer_->setOpaque(opaque);
}

void View::setClipsToBounds(bool clips) {
  clipsToBounds_ = clips;
  peer_->setClipsToBounds(clips);
}

void View::setUserInteractionEnabled(bool enabled) {
  userInteractionEnabled_ = enabled;
  peer_->setUserInteractionEnabled(enabled);
}

// ---- the tree ----

Window* View::windowRaw() {
  for (View* v = this; v; ) {
    if (auto* w = dynamic_cast<Window*>(v)) return w;
    auto up = v->superview_.lock();
    v = up.get();
  }
  return nullptr;
}

std::shared_ptr<Window> View::window() {
  Window* w = windowRaw();
  return w ? std::static_pointer_cast<Window>(w->shared_from_this()) : nullptr;
}

void View::addSubview(const std::shared_ptr<View>& view) {
  if (!view) return;
  size_t index = subviews_.size();
  if (view->superview_.lock().get() == this) --index;  // moving to the front of ourselves
  attach(view, index);
}

void View::insertSubviewAtIndex(const std::shared_ptr<View>& view, size_t index) {
  if (view) attach(view, index);
}

void View::insertSubviewBelow(const std::shared_ptr<View>& view, const std::shared_ptr<View>& sibling) {
  if (!view) return;
  if (view.get() == sibling.get()) return;
  if (view->superview_.lock().get() == this) {
    subviews_.erase(std::find(subviews_.begin(), subviews_.end(), view));
    peer_->removeSubview(*view->peer_);
    auto it = std::find(subviews_.begin(), subviews_.end(), sibling);
    size_t index = it == subviews_.end() ? subviews_.size() : size_t(it - subviews_.begin());
    subviews_.insert(subviews_.begin() + index, view);
    peer_->insertSubview(*view->peer_, index);
    return;
  }
  auto it = std::find(subviews_.begin(), subviews_.end(), sibling);
  attach(view, it == subviews_.end() ? subviews_.size() : size_t(it - subviews_.begin()));
}

void View::bringSubviewToFront(const std::shared_ptr<View>& view) {
  if (view && view->superview_.lock().get() == this) addSubview(view);
}

void View::attach(const std::shared_ptr<View>& view, size_t index) {
  if (view.get() == this || isDescendantOfView(*view)) return;  // no cycles
  auto keep = view;  // removing it from its old superview may drop the last reference
  Window* oldWindow = view->windowRaw();
  Window* newWindow = windowRaw();
  bool windowChanges = oldWindow != newWindow;
  if (windowChanges) view->notifyWindowChanged(oldWindow, newWindow);  // "will" half
  if (auto old = view->superview_.lock()) {
    old->willRemoveSubview(*view);
    old->subviews_.erase(std::find(old->subviews_.begin(), old->subviews_.end(), view));
    old->peer_->removeSubview(*view->peer_);
  }
  index = std::min(index, subviews_.size());
  subviews_.insert(subviews_.begin() + index, view);
  view->superview_ = weak_from_this();
  peer_->insertSubview(*view->peer_, index);
  didAddSubview(*view);
  view->didMoveToSuperview();
  if (windowChanges) view->notifyWindowChanged(nullptr, nullptr);  // "did" half
}

void View::removeFromSuperview() {
  auto sup = superview_.lock();
  if (!sup) return;
  auto keep = shared_from_this();
  Window* oldWindow = windowRaw();
  if (oldWindow) notifyWindowChanged(oldWindow, nullptr);
  sup->willRemoveSubview(*this);
  auto& list = sup->subviews_;
  list.erase(std::find(list.begin(), list.end(), keep));
  sup->peer_->removeSubview(*peer_);
  superview_.reset();
  didMoveToSuperview();
  if (oldWindow) notifyWindowChanged(nullptr, nullptr);
}

// Called twice around a move: first with the old and new windows ("will"), then with two
// nones ("did"). Controllers whose root view is in the subtree hear both halves.
void View::notifyWindowChanged(Window* oldWindow, Window* newWindow) {
  bool willHalf = oldWindow || newWindow;
  auto subs = subviews_;
  if (!willHalf) didMoveToWindow();
  if (auto vc = viewController_.lock()) {
    if (willHalf)
      vc->rootViewWillMoveToWindow(newWindow);
    else
      vc->rootViewDidMoveToWindow();
  }
  for (auto& s : subs) s->notifyWindowChanged(oldWindow, newWindow);
}

bool View::isDescendantOfView(const View& view) const {
  for (const View* v = this; v;) {
    if (v == &view) return true;
    auto up = v->superview_.lock();
    v = up.get();
  }
  return false;
}

std::shared_ptr<View> View::viewWithTag(int tag) {
  if (tag_ == tag) return shared_from_this();
  for (auto& s : subviews_)
    if (auto found = s->viewWithTag(tag)) return found;
  return nullptr;
}

// ---- coordinates and hit testing ----

Point View::convertPointToView(Point p, const View* view) const {
  // Up to the root, then down to `view`.
  for (const View* v = this; v;) {
    if (v == view) return p;
    auto up = v->superview_.lock();
    if (!up) break;
    p = {p.x - v->bounds_.origin.x + v->frame_.origin.x, p.y - v->bounds_.origin.y + v->frame_.origin.y};
    v = up.get();
  }
  if (!view) return p;
  return view->convertPointFromView(p, nullptr);
}

Point View::convertPointFromView(Point p, const View* view) const {
  if (view) p = view->convertPointToView(p, nullptr);
  // Root coordinates down to ours: collect the chain, apply from the top.
  std::vector<const View*> chain;
  for (const View* v = this; v;) {
    auto up = v->superview_.lock();
    if (!up) break;
    chain.push_back(v);
    v = up.get();
  }
  for (auto it = chain.rbegin(); it != chain.rend(); ++it) {
    const View* v = *it;
    p = {p.x - v->frame_.origin.x + v->bounds_.origin.x, p.y - v->frame_.origin.y + v->bounds_.origin.y};
  }
  return p;
}

bool View::pointInside(Point p, const Event*) const { return bounds_.contains(p); }

std::shared_ptr<View> View::hitTest(Point p, const Event* event) {
  if (hidden_ || !userInteractionEnabled_) return nullptr;
  if (!pointInside(p, event)) return nullptr;
  auto subs = subviews_;  // an override may change the tree
  for (auto it = subs.rbegin(); it != subs.rend(); ++it) {
    const auto& s = *it;
    Point local{p.x - s->frame_.origin.x + s->bounds_.origin.x, p.y - s->frame_.origin.y + s->bounds_.origin.y};
    if (auto hit = s->hitTest(local, event)) return hit;
  }
  return shared_from_this();
}

}  // namespace pf
