#pragma once
// pf::TabBarItem: what a tab shows for its controller: a title and an icon.
#include <memory>
#include <string>

namespace pf {

class Image;

struct TabBarItem {
  std::string title;
  std::shared_ptr<const Image> image;
  int tag = 0;
};

}  // namespace pf
