#pragma once
// pf::Color: an RGBA colour, components 0…1.
namespace pf {

struct Color {
  double red = 0;
  double green = 0;
  double blue = 0;
  double alpha = 0;

  static constexpr Color clear() { return {0, 0, 0, 0}; }
  static constexpr Color black() { return {0, 0, 0, 1}; }
  static constexpr Color white() { return {1, 1, 1, 1}; }
  static constexpr Color gray(double white, double alpha = 1) { return {white, white, white, alpha}; }
  bool isOpaque() const { return alpha >= 1; }
  bool operator==(const Color&) const = default;
};

}  // namespace pf
