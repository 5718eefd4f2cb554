#pragma once
// DontTouchViewControler: the static tab. It shows what the interface description gives it
// and holds nothing; it rotates like the other pages.
#include <memory>

#include "platform/ui/ViewController.h"

class DontTouchViewControler : public pf::ViewController {
 public:
  static std::shared_ptr<DontTouchViewControler> create() {
    auto page = std::shared_ptr<DontTouchViewControler>(new DontTouchViewControler());
    registerLive(page);
    return page;
  }
  bool shouldAutorotateToInterfaceOrientation(pf::InterfaceOrientation o) override;

 private:
  DontTouchViewControler() = default;
};
