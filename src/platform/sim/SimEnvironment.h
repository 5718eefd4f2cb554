#pragma once
// pf::SimEnvironment: everything a unit test of the ad layer stands on, set up in one object
// and torn down in reverse — the virtual clock and run loop, a fresh home (pf::SimHome: a
// temporary folder holding the caches, preferences and app home, and a fresh standard user
// defaults store), the scripted HTTP transport, scripted reachability, and the sim view
// layer with a device profile.
//
//   class GADCachedFileTest : public ::testing::Test {
//    protected:
//     pf::SimEnvironment sim;                       // first member: built first, gone last
//   };
//   sim.http().respond(url, pf::SimResponse::ok("body"));
//   sim.clock().advance(1.0);
//
#include <memory>
#include <string>

#include "platform/sim/SimClock.h"
#include "platform/sim/SimHome.h"
#include "platform/sim/SimReachability.h"
#include "platform/sim/SimUIEnvironment.h"
#include "platform/sim/SimURLTransport.h"

namespace pf {

class SimEnvironment {
 public:
  explicit SimEnvironment(const std::string& deviceProfile = "phone-4.0");
  ~SimEnvironment();
  SimEnvironment(const SimEnvironment&) = delete;
  SimEnvironment& operator=(const SimEnvironment&) = delete;

  SimClock& clock() { return clock_; }
  SimURLTransport& http() { return *http_; }
  SimReachability& reachability() { return *reachability_; }
  SimUIEnvironment& ui() { return *ui_; }
  const std::string& root() const { return home_.root(); }
  const FileLocations& locations() const { return home_.locations(); }

 private:
  SimClock clock_;  // first: the run loop is reset before and after everything else
  SimHome home_;
  std::shared_ptr<SimURLTransport> http_;
  std::shared_ptr<SimReachability> reachability_;
  std::unique_ptr<SimUIEnvironment> ui_;
};

}  // namespace pf
