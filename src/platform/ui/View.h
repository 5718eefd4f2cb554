#pragma once
/// @file
/// pf::View: a rectangle in the view tree.
#include <memory>
#include <vector>

#include "platform/ui/Color.h"
#include "platform/ui/Event.h"
#include "platform/ui/Geometry.h"
#include "platform/ui/ViewPeer.h"

/// The platform layer: what the ad layer runs on (value types, views, view controllers),
/// and on the desktop the seam to a GTK application (pf::DesktopEmbedding, pf::GtkViewHost).
namespace pf {

class ViewController;
class Window;

/// A rectangle in the view tree (UIView on the phone). It has a frame in its superview's
/// coordinates and bounds in its own, owns its subviews (strongly, in back-to-front order)
/// and points weakly to its superview. A backend peer draws it.
///
/// Autoresizing follows the phone toolkit's rules: when a view's bounds change size and it
/// autoresizes its subviews, each subview's change of width (height) is shared among the
/// flexible parts of its mask — left margin, width, right margin (top margin, height, bottom
/// margin) — in proportion to their current sizes (equally when they are all zero). A view
/// with no flexible part on an axis keeps its position and size on that axis.
///
/// Hit testing: hitTest(point, event) answers the deepest visible, interaction-enabled view
/// under the point (in the receiver's coordinates), the frontmost subview first. Subclasses
/// override it to watch what reaches them; the event carries its type.
///
/// @code
/// auto page = pf::View::create({0, 0, 320, 411});
/// auto banner = pf::View::create({0, 361, 320, 50});
/// banner->setAutoresizingMask(pf::View::FlexibleWidth | pf::View::FlexibleTopMargin);
/// page->addSubview(banner);
/// @endcode
class View : public std::enable_shared_from_this<View> {
 public:
  /// Autoresizing mask bits (the phone toolkit's numbers): which parts of a subview follow
  /// its superview's change of size.
  enum AutoresizingMask : unsigned {
    None = 0,                   ///< Keeps its position and size.
    FlexibleLeftMargin = 1,     ///< The left margin takes part of a change of width.
    FlexibleWidth = 2,          ///< The width takes part of a change of width.
    FlexibleRightMargin = 4,    ///< The right margin takes part of a change of width.
    FlexibleTopMargin = 8,      ///< The top margin takes part of a change of height.
    FlexibleHeight = 16,        ///< The height takes part of a change of height.
    FlexibleBottomMargin = 32,  ///< The bottom margin takes part of a change of height.
  };

  /// A new view at `frame` (in its future superview's coordinates), with the installed
  /// backend's peer.
  static std::shared_ptr<View> create(const Rect& frame = {});
  virtual ~View();
  View(const View&) = delete;
  View& operator=(const View&) = delete;

  /// @name Geometry
  /// @{

  /// The view's rectangle in its superview's coordinates.
  const Rect& frame() const { return frame_; }
  /// Moves and sizes the view; its bounds follow, and its subviews autoresize.
  void setFrame(const Rect& frame);
  /// The view's rectangle in its own coordinates (origin usually 0, 0).
  const Rect& bounds() const { return bounds_; }
  /// Sets the bounds; keeps the center, the frame's size follows.
  void setBounds(const Rect& bounds);
  /// The middle of the frame.
  Point center() const { return frame_.center(); }
  /// Moves the view so that its frame's middle is at `center`.
  void setCenter(Point center);
  /// The AutoresizingMask bits of this view.
  unsigned autoresizingMask() const { return autoresizingMask_; }
  /// Sets the AutoresizingMask bits.
  void setAutoresizingMask(unsigned mask) { autoresizingMask_ = mask; }
  /// Whether a change of size autoresizes the subviews (default true).
  bool autoresizesSubviews() const { return autoresizesSubviews_; }
  /// Sets whether a change of size autoresizes the subviews.
  void setAutoresizesSubviews(bool on) { autoresizesSubviews_ = on; }
  /// @}

  /// @name Appearance
  /// @{

  /// Whether the view (and so its subviews) is hidden.
  bool isHidden() const { return hidden_; }
  /// Hides or shows the view.
  void setHidden(bool hidden);
  /// The colour under the view's content (clear by default).
  const Color& backgroundColor() const { return backgroundColor_; }
  /// Sets the background colour.
  void setBackgroundColor(const Color& color);
  /// Whether the view promises to fill its bounds opaquely.
  bool isOpaque() const { return opaque_; }
  /// Sets the opaque promise.
  void setOpaque(bool opaque);
  /// Whether drawing and subviews are cut at the bounds.
  bool clipsToBounds() const { return clipsToBounds_; }
  /// Sets whether drawing and subviews are cut at the bounds.
  void setClipsToBounds(bool clips);
  /// Whether the view and its subviews take touches (default true).
  bool isUserInteractionEnabled() const { return userInteractionEnabled_; }
  /// Sets whether the view and its subviews take touches.
  void setUserInteractionEnabled(bool enabled);
  /// A number the application chooses (see viewWithTag()).
  int tag() const { return tag_; }
  /// Sets the tag.
  void setTag(int tag) { tag_ = tag; }
  /// @}

  /// @name The tree
  /// @{

  /// The subviews, back to front.
  const std::vector<std::shared_ptr<View>>& subviews() const { return subviews_; }
  /// The superview, or none.
  std::shared_ptr<View> superview() const { return superview_.lock(); }
  /// Adds on top; a view that has a superview is removed from it first.
  void addSubview(const std::shared_ptr<View>& view);
  /// Adds at `index` among the subviews (0 is the bottom).
  void insertSubviewAtIndex(const std::shared_ptr<View>& view, size_t index);
  /// Adds just below `sibling` (on top when it is not a subview).
  void insertSubviewBelow(const std::shared_ptr<View>& view, const std::shared_ptr<View>& sibling);
  /// Moves a subview on top of the others.
  void bringSubviewToFront(const std::shared_ptr<View>& view);
  /// Leaves the superview (which may drop the last reference to this view).
  void removeFromSuperview();
  /// Whether this view is `view` or inside it.
  bool isDescendantOfView(const View& view) const;
  /// This view or the first one inside it whose tag is `tag`, depth first.
  std::shared_ptr<View> viewWithTag(int tag);
  /// The window this view is in (itself for a window), or none.
  virtual std::shared_ptr<Window> window();
  /// The controller whose root view this is, if any.
  std::shared_ptr<ViewController> viewController() const { return viewController_.lock(); }
  /// @}

  /// @name Coordinates and hit testing
  /// @{

  /// A point in this view's coordinates expressed in `view`'s (or in the root of the tree's
  /// when `view` is none).
  Point convertPointToView(Point point, const View* view) const;
  /// A point in `view`'s coordinates (or the root of the tree's) expressed in this view's.
  Point convertPointFromView(Point point, const View* view) const;
  /// The deepest visible, interaction-enabled view under `point` (in this view's
  /// coordinates), frontmost first; `event` may be none.
  virtual std::shared_ptr<View> hitTest(Point point, const Event* event);
  /// Whether `point` (in this view's coordinates) is inside its bounds.
  virtual bool pointInside(Point point, const Event* event) const;
  /// @}

  /// The backend's peer that draws this view.
  ViewPeer& peer() { return *peer_; }

 protected:
  /// For subclasses' create().
  explicit View(const Rect& frame);
  /// For subclasses that bring their own kind of peer.
  View(const Rect& frame, std::unique_ptr<ViewPeer> peer);

  /// @name Hooks for subclasses (empty by default)
  /// @{

  /// `subview` was added.
  virtual void didAddSubview(View& /*subview*/) {}
  /// `subview` is about to leave.
  virtual void willRemoveSubview(View& /*subview*/) {}
  /// The view has a new superview (or none).
  virtual void didMoveToSuperview() {}
  /// The view is in a new window (or none).
  virtual void didMoveToWindow() {}
  /// After the bounds changed size and the subviews were autoresized.
  virtual void layoutSubviews() {}
  /// @}

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
