#pragma once
// pf::InterfaceObject: one object an interface description made — a view, a controller or
// an application delegate — as outlets pass it around.
#include <memory>
#include <type_traits>

#include "platform/ui/ApplicationDelegate.h"
#include "platform/ui/View.h"
#include "platform/ui/ViewController.h"

namespace pf {

struct InterfaceObject {
  std::shared_ptr<View> view;
  std::shared_ptr<ViewController> controller;
  std::shared_ptr<ApplicationDelegate> delegate;

  // The object as a T, none when it is not one.
  template <typename T>
  std::shared_ptr<T> as() const {
    if constexpr (std::is_base_of_v<View, T>) return std::dynamic_pointer_cast<T>(view);
    else if constexpr (std::is_base_of_v<ViewController, T>) return std::dynamic_pointer_cast<T>(controller);
    else return std::dynamic_pointer_cast<T>(delegate);
  }
  bool empty() const { return !view && !controller && !delegate; }
};

}  // namespace pf
