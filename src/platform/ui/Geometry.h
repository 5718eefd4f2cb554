#pragma once
/// @file
/// pf::Point, pf::Size, pf::Rect: geometry in points.
#include <algorithm>

namespace pf {

/// A point in a view's coordinates (origin top left, y growing downwards), in points.
struct Point {
  double x = 0;  ///< Rightwards.
  double y = 0;  ///< Downwards.
  /// Same coordinates.
  bool operator==(const Point&) const = default;
};

/// A width and a height, in points.
struct Size {
  double width = 0;   ///< Width.
  double height = 0;  ///< Height.
  /// Same width and height.
  bool operator==(const Size&) const = default;
};

/// A rectangle: an origin (its top-left corner) and a size, in points. A value type.
struct Rect {
  Point origin;  ///< The top-left corner.
  Size size;     ///< The width and height.

  /// The empty rectangle at the origin.
  Rect() = default;
  /// A rectangle at `o` of size `s`.
  Rect(Point o, Size s) : origin(o), size(s) {}
  /// A rectangle at (`x`, `y`) of `w` × `h`.
  Rect(double x, double y, double w, double h) : origin{x, y}, size{w, h} {}

  /// The left edge.
  double minX() const { return origin.x; }
  /// The top edge.
  double minY() const { return origin.y; }
  /// The right edge.
  double maxX() const { return origin.x + size.width; }
  /// The bottom edge.
  double maxY() const { return origin.y + size.height; }
  /// The width.
  double width() const { return size.width; }
  /// The height.
  double height() const { return size.height; }
  /// The middle.
  Point center() const { return {origin.x + size.width / 2, origin.y + size.height / 2}; }
  /// No width or no height.
  bool isEmpty() const { return size.width <= 0 || size.height <= 0; }
  /// Whether `p` is inside. Half-open, as on the phone: the right and bottom edges are
  /// outside.
  bool contains(Point p) const {
    return !isEmpty() && p.x >= minX() && p.x < maxX() && p.y >= minY() && p.y < maxY();
  }
  /// Same origin and size.
  bool operator==(const Rect&) const = default;
};

}  // namespace pf
