#pragma once
// pf::ClassRegistry<Base>: classes an interface description may name, each with a factory
// and its outlets (named setters the description wires). The phone platform looks classes up
// by name at run time; we register them once, before the application starts.
//
//   pf::ViewControllerRegistry::registerClass<AmrViewController>("AmrViewController")
//       .outlet("amrView", &AmrViewController::setAmrView);   // setter takes shared_ptr<WebView>
//   pf::ApplicationDelegateRegistry::registerClass<AshenmoorAppDelegate>("AshenmoorAppDelegate")
//       .outlet("window", &AshenmoorAppDelegate::setWindow);
#include <functional>
#include <map>
#include <memory>
#include <string>

#include "platform/ui/InterfaceObject.h"

namespace pf {

template <typename Base>
class ClassRegistry {
 public:
  using Factory = std::function<std::shared_ptr<Base>()>;
  // False when the value is not of the kind the outlet holds.
  using OutletSetter = std::function<bool(Base& owner, const InterfaceObject& value)>;

  struct ClassInfo {
    Factory factory;
    std::map<std::string, OutletSetter> outlets;
  };

  class Builder {
   public:
    explicit Builder(std::string name) : name_(std::move(name)) {}
    Builder& outlet(std::string name, OutletSetter setter) {
      classes()[name_].outlets[std::move(name)] = std::move(setter);
      return *this;
    }
    template <typename T, typename U>
    Builder& outlet(std::string name, void (T::*set)(std::shared_ptr<U>)) {
      return outlet(std::move(name), [set](Base& owner, const InterfaceObject& value) {
        auto* self = dynamic_cast<T*>(&owner);
        auto typed = value.as<U>();
        if (!self || !typed) return false;
        (self->*set)(std::move(typed));
        return true;
      });
    }
    template <typename T, typename U>
    Builder& outlet(std::string name, void (T::*set)(const std::shared_ptr<U>&)) {
      return outlet(std::move(name), [set](Base& owner, const InterfaceObject& value) {
        auto* self = dynamic_cast<T*>(&owner);
        auto typed = value.as<U>();
        if (!self || !typed) return false;
        (self->*set)(typed);
        return true;
      });
    }

   private:
    std::string name_;
  };

  static Builder registerClass(std::string name, Factory factory) {
    auto& info = classes()[name];
    info.factory = std::move(factory);
    info.outlets.clear();
    return Builder(std::move(name));
  }
  template <typename T>
  static Builder registerClass(std::string name) {
    return registerClass(std::move(name), [] { return std::static_pointer_cast<Base>(T::create()); });
  }
  static void unregisterClass(const std::string& name) { classes().erase(name); }
  static const ClassInfo* find(const std::string& name) {
    auto it = classes().find(name);
    return it == classes().end() ? nullptr : &it->second;
  }

 private:
  static std::map<std::string, ClassInfo>& classes() {
    static std::map<std::string, ClassInfo> all;
    return all;
  }
};

using ViewControllerRegistry = ClassRegistry<ViewController>;
using ApplicationDelegateRegistry = ClassRegistry<ApplicationDelegate>;

}  // namespace pf
