#pragma once
// pf::InterfaceOrientation: the phone toolkit's numbers (1 portrait, 2 upside down,
// 3 landscape right: home button on the right, 4 landscape left).
namespace pf {

enum class InterfaceOrientation {
  Portrait = 1,
  PortraitUpsideDown = 2,
  LandscapeRight = 3,
  LandscapeLeft = 4,
};

inline bool isLandscape(InterfaceOrientation o) {
  return o == InterfaceOrientation::LandscapeRight || o == InterfaceOrientation::LandscapeLeft;
}
inline bool isPortrait(InterfaceOrientation o) { return !isLandscape(o); }

}  // namespace pf
