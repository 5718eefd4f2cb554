#pragma once
/// @file
/// What a backend does for one view.
#include <cstddef>

#include "platform/ui/Color.h"
#include "platform/ui/Geometry.h"

namespace pf {

/// What a backend does for one view — draw it where the neutral pf::View says.
/// The neutral view keeps every property and does layout (autoresizing) and hit testing; the
/// peer is told the results. Each method has an empty default: the base class is the peer of a
/// backend that draws nothing (and of views that are only bookkeeping).
///
/// A peer belongs to its view and dies with it; it may keep a reference to its view and call
/// the view's peer-facing operations, never store a strong reference to it.
class ViewPeer {
 public:
  ViewPeer() = default;
  ViewPeer(const ViewPeer&) = delete;
  ViewPeer& operator=(const ViewPeer&) = delete;
  virtual ~ViewPeer() = default;

  /// `frame` in the superview's coordinates; `bounds` the view's own coordinates.
  virtual void setFrame(const Rect& /*frame*/, const Rect& /*bounds*/) {}
  /// The view's visibility.
  virtual void setHidden(bool /*hidden*/) {}
  /// The colour drawn under the view's content.
  virtual void setBackgroundColor(const Color& /*color*/) {}
  /// Whether the view promises to fill its bounds opaquely.
  virtual void setOpaque(bool /*opaque*/) {}
  /// Whether the view's drawing and subviews are cut at its bounds.
  virtual void setClipsToBounds(bool /*clips*/) {}
  /// Whether the view (and its subviews) take touches.
  virtual void setUserInteractionEnabled(bool /*enabled*/) {}
  /// `child` goes at `index` among this view's subviews (0 is the bottom).
  virtual void insertSubview(ViewPeer& /*child*/, size_t /*index*/) {}
  /// `child` left this view's subviews.
  virtual void removeSubview(ViewPeer& /*child*/) {}
};

}  // namespace pf
