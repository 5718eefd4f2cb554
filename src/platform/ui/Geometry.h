#pragma once
// pf::Point, pf::Size, pf::Rect: points in the view coordinate system (origin top left,
// y growing downwards), as doubles. Value types.
#include <algorithm>

namespace pf {

struct Point {
  double x = 0;
  double y = 0;
  bool operator==(const Point&) const = default;
};

struct Size {
  double width = 0;
  double height = 0;
  bool operator==(const Size&) const = default;
};

struct Rect {
  Point origin;
  Size size;

  Rect() = default;
  Rect(Point o, Size s) : origin(o), size(s) {}
  Rect(double x, double y, double w, double h) : origin{x, y}, size{w, h} {}

  double minX() const { return origin.x; }
  double minY() const { return origin.y; }
  double maxX() const { return origin.x + size.width; }
  double maxY() const { return origin.y + size.height; }
  double width() const { return size.width; }
  double height() const { return size.height; }
  Point center() const { return {origin.x + size.width / 2, origin.y + size.height / 2}; }
  bool isEmpty() const { return size.width <= 0 || size.height <= 0; }
  // Half-open, as CGRectContainsPoint on the phone: the right and bottom edges are outside.
  bool contains(Point p) const {
    return !isEmpty() && p.x >= minX() && p.x < maxX() && p.y >= minY() && p.y < maxY();
  }
  bool operator==(const Rect&) const = default;
};

}  // namespace pf
