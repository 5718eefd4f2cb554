#pragma once
/// @file
/// pf::Color: a colour with alpha.
namespace pf {

/// An RGBA colour, components 0…1. A value type.
struct Color {
  double red = 0;    ///< Red, 0…1.
  double green = 0;  ///< Green, 0…1.
  double blue = 0;   ///< Blue, 0…1.
  double alpha = 0;  ///< Opacity, 0 (transparent) … 1 (opaque).

  /// Transparent.
  static constexpr Color clear() { return {0, 0, 0, 0}; }
  /// Opaque black.
  static constexpr Color black() { return {0, 0, 0, 1}; }
  /// Opaque white.
  static constexpr Color white() { return {1, 1, 1, 1}; }
  /// A grey of brightness `white` (0…1) and opacity `alpha`.
  static constexpr Color gray(double white, double alpha = 1) { return {white, white, white, alpha}; }
  /// Whether nothing shows through.
  bool isOpaque() const { return alpha >= 1; }
  /// Same components.
  bool operator==(const Color&) const = default;
};

}  // namespace pf
