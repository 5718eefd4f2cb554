#pragma once
// pf::View: a rectangle in the view tree (UIView on the phone). It has a frame in its
// superview's coordinates and bounds in its own, owns its subviews (strongly, in back-to-front
// order) and points weakly to its superview. A backend peer draws it.
//
// Autoresizing follows the phone toolkit's rules: when a view's bounds change size and it
// autoresizes its subviews, each subview's change of width (height) is shared among the
// flexible parts of its mask — left margin, width, right margin (top margin, height, bottom
// margin) — in proportion to their current sizes (equally when they are all zero). A view
// with no flexible part on an axis keeps its position and size on that axis.
//
// Hit testing: hitTest(point, event) answers the deepest visible, interaction-enabled view
// under the point (in the receiver's coordinates), the frontmost subview first. Subclasses
// override it to watch what reaches them; the event carries its type.
//
//   auto page = pf::View::create({0, 0, 320, 411});
//   auto banner = pf::View::create({0, 361, 320, 50});
//   banner->setAutoresizingMask(pf::View::FlexibleWidth | pf::View::FlexibleTopMargin);
//   page->addSubview(banner);
#include <memory>
#include <vector>

#include "platform/ui/Color.h"
#include "platform/ui/Event.h"
#include "platform/ui/Geometry.h"
#include "platform/ui/ViewPeer.h"

namespace pf {

class ViewController;
class Window;

class View : public std::enable_shared_from_this<View> {
 public:
  // Autoresizing mask bits (the phone toolkit's numbers).
  enum AutoresizingMask : unsigned {
    None = 0,
    FlexibleLeftMargin = 1,
    FlexibleWidth = 2,
    FlexibleRightMargin = 4,
    FlexibleTopMargin = 8,
    FlexibleHeight = 16,
    FlexibleBottomMargin = 32,
  };

  static std::shared_ptr<View> create(const Rect& frame = {});
  virtual ~View();
  View(const View&) = delete;
  View& operator=(const View&) = delete;

  // Geometry.
  const Rect& frame() const { return frame_; }
  void setFrame(const Rect& frame);
  const Rect& bounds() const { return bounds_; }
  void setBounds(const Rect& bounds);  // keeps the center; the frame's size follows
  Point center() const { return frame_.center(); }
  void setCenter(Point center);
  unsigned autoresizingMask() const { return autoresizingMask_; }
  void setAutoresizingMask(unsigned mask) { autoresizingMask_ = mask; }
  bool autoresizesSubviews() const { return autoresizesSubviews_; }
  void setAutoresizesSubviews(bool on) { autoresizesSubviews_ = on; }

  // Appearance.
  bool isHidden() const { return hidden_; }
  void setHidden(bool hidden);
  const Color& backgroundColor() const { return backgroundColor_; }
  void setBackgroundColor(const Color& color);
  bool isOpaque() const { return opaque_; }
  void setOpaque(bool opaque);
  bool clipsToBounds() const { return clipsToBounds_; }
  void setClipsToBounds(bool clips);
  bool isUserInteractionEnabled() const { return userInteractionEnabled_; }
  void setUserInteractionEnabled(bool enabled);
  int tag() const { return tag_; }
  void setTag(int tag) { tag_ = tag; }

  // The tree.
  const std::vector<std::shared_ptr<View>>& subviews() const { return subviews_; }
  std::shared_ptr<View> superview() const { return superview_.lock(); }
  // Adds on top; a view that has a superview is removed from it first.
  void addSubview(const std::shared_ptr<View>& view);
  void insertSubviewAtIndex(const std::shared_ptr<View>& view, size_t index);
  void insertSubviewBelow(const std::shared_ptr<View>& view, const std::shared_ptr<View>& sibling);
  void bringSubviewToFront(const std::shared_ptr<View>& view);
  void removeFromSuperview();
  bool isDescendantOfView(const View& view) const;
  std::shared_ptr<View> viewWithTag(int tag);
  // The window this view is in (itself for a window), or none.
  virtual std::shared_ptr<Window> window();
  // The controller whose root view this is, if any.
  std::shared_ptr<ViewController> viewController() const { return viewController_.lock(); }

  // Coordinates: a point in this view's coordinates expressed in `view`'s (or in the root of
  // the tree's when `view` is none), and back.
  Point convertPointToView(Point point, const View* view) const;
  Point convertPointFromView(Point point, const View* view) const;

  // Hit testing (see above). `event` may be none.
  virtual std::shared_ptr<View> hitTest(Point point, const Event* event);
  virtual bool pointInside(Point point, const Event* event) const;

  ViewPeer& peer() { return *peer_; }

 protected:
  explicit View(const Rect& frame);
  // For subclasses that bring their own kind of peer.
  View(const Rect& frame, std::unique_ptr<ViewPeer> peer);

  // Hooks, empty by default.
  virtual void didAddSubview(View& /*subview*/) {}
  virtual void willRemoveSubview(View& /*subview*/) {}
  virtual void didMoveToSuperview() {}
  virtual void didMoveToWindow() {}
  // After the bounds changed size and the subviews were autoresized.
  virtual void layoutSubviews() {}

 private:
  friend class ViewController;
  friend class Window;

  void resizeSubviews(Size oldSize);
  void autoresize(Size oldSuperSize, Size newSuperSize);
  void attach(const std::shared_ptr<View>& view, size_t index);
  void detachFromSuperview();
  void notifyWindowChanged(Window* oldWindow, Window* newWindow);
  void pushFrame();
  Window* windowRaw();

  std::unique_ptr<ViewPeer> peer_;
  Rect frame_;
  Rect bounds_;
  unsigned autoresizingMask_ = None;
  bool autoresizesSubviews_ = true;
  bool hidden_ = false;
  Color backgroundColor_ = Color::clear();
  bool opaque_ = true;
  bool clipsToBounds_ = false;
  bool userInteractionEnabled_ = true;
  int tag_ = 0;
  std::vector<std::shared_ptr<View>> subviews_;  // owned, back to front
  std::weak_ptr<View> superview_;
  std::weak_ptr<ViewController> viewController_;  // set by the controller that owns this view
};

}  // namespace pf
