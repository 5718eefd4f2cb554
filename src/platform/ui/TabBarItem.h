#pragma once
/// @file
/// pf::TabBarItem: what a tab shows for its controller.
#include <memory>
#include <string>

namespace pf {

class Image;

/// What a tab shows for its controller: a title and an icon.
struct TabBarItem {
  std::string title;                   ///< The tab's title (the controller's title when empty).
  std::shared_ptr<const Image> image;  ///< The tab's icon, if any.
  int tag = 0;                         ///< A number the application chooses.
};

}  // namespace pf
