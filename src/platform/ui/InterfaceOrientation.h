#pragma once
/// @file
/// pf::InterfaceOrientation: which way up the interface is.
namespace pf {

/// Which way up the interface is, in the phone toolkit's numbers.
enum class InterfaceOrientation {
  Portrait = 1,            ///< Upright.
  PortraitUpsideDown = 2,  ///< Upside down.
  LandscapeRight = 3,      ///< On its side, the home button on the right.
  LandscapeLeft = 4,       ///< On its side, the home button on the left.
};

/// Whether `o` is on its side.
inline bool isLandscape(InterfaceOrientation o) {
  return o == InterfaceOrientation::LandscapeRight || o == InterfaceOrientation::LandscapeLeft;
}
/// Whether `o` is upright or upside down.
inline bool isPortrait(InterfaceOrientation o) { return !isLandscape(o); }

}  // namespace pf
