#pragma once
// The sim environment of the view-layer tests: virtual time first, then the sim backend
// with a device profile and a fresh shared application; and a log the tests' recorders write to.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/sim/SimClock.h"
#include "platform/sim/SimUIEnvironment.h"
#include "platform/ui/ViewController.h"

namespace uitest {

class UITest : public ::testing::Test {
 protected:
  using Log = std::vector<std::string>;
  explicit UITest(const std::string& profile = "phone-4.0") : ui(profile) {}
  pf::SimClock clock;
  pf::SimUIEnvironment ui;
  Log log;
};

// A controller that writes down every hook it hears, as "<name> <hook>".
class RecordingController : public pf::ViewController {
 public:
  static std::shared_ptr<RecordingController> create(std::string name, std::vector<std::string>* log) {
    auto c = std::shared_ptr<RecordingController>(new RecordingController(std::move(name), log));
    registerLive(c);
    return c;
  }
  void viewDidLoad() override { note("viewDidLoad"); }
  void viewDidUnload() override { note("viewDidUnload"); }
  void viewWillAppear(bool a) override { note(a ? "viewWillAppear animated" : "viewWillAppear"); }
  void viewDidAppear(bool a) override { note(a ? "viewDidAppear animated" : "viewDidAppear"); }
  void viewWillDisappear(bool a) override { note(a ? "viewWillDisappear animated" : "viewWillDisappear"); }
  void viewDidDisappear(bool a) override { note(a ? "viewDidDisappear animated" : "viewDidDisappear"); }
  bool shouldAutorotateToInterfaceOrientation(pf::InterfaceOrientation o) override {
    return o != pf::InterfaceOrientation::PortraitUpsideDown;
  }
  void didRotateFromInterfaceOrientation(pf::InterfaceOrientation) override { note("didRotate"); }

 private:
  RecordingController(std::string name, std::vector<std::string>* log) : name_(std::move(name)), log_(log) {}
  void note(const std::string& what) { log_->push_back(name_ + " " + what); }
  std::string name_;
  std::vector<std::string>* log_;
};

}  // namespace uitest
