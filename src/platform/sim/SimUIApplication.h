#pragma once
// pf::SimUIApplication: the sim backend's system around the application. It records what the
// application asked of the system (URLs opened, status bar, idle timer) and answers
// canOpenURL from the device profile's openable schemes, or from what a test scripted.
//
//   auto& system = pf::SimUIApplication::current();
//   system.setCanOpenURL("kindle://home", true);
//   app->openURL(url);  EXPECT_EQ(system.openedURLs().size(), 1u);
//   system.sendToBackground();  system.bringToForeground();
#include <map>
#include <string>
#include <vector>

#include "platform/ui/Application.h"
#include "platform/ui/ApplicationPeer.h"

namespace pf {

class SimUIApplication : public ApplicationPeer {
 public:
  struct StatusBarChange {
    bool hidden;
    bool animated;
  };

  // The peer of the shared application (the sim backend must be installed).
  static SimUIApplication& current();

  // Scripted answer for one URL text (wins over the profile's schemes).
  void setCanOpenURL(const std::string& url, bool canOpen) { scripted_[url] = canOpen; }
  const std::vector<Url>& openedURLs() const { return opened_; }       // handed to another app
  const std::vector<Url>& refusedURLs() const { return refused_; }     // nobody handles them
  const std::vector<StatusBarChange>& statusBarChanges() const { return statusBar_; }
  const std::vector<bool>& idleTimerChanges() const { return idleTimer_; }
  const std::vector<unsigned>& systemSounds() const { return sounds_; }

  // The user leaves and comes back (whole sequences, as the system runs them).
  void sendToBackground();
  void bringToForeground();

  // ApplicationPeer
  bool openURL(const Url& url) override;
  bool canOpenURL(const Url& url) override;
  void setStatusBarHidden(bool hidden, bool animated) override { statusBar_.push_back({hidden, animated}); }
  void setIdleTimerDisabled(bool disabled) override { idleTimer_.push_back(disabled); }
  void playSystemSound(unsigned soundID) override { sounds_.push_back(soundID); }

 private:
  std::map<std::string, bool> scripted_;
  std::vector<Url> opened_;
  std::vector<Url> refused_;
  std::vector<StatusBarChange> statusBar_;
  std::vector<bool> idleTimer_;
  std::vector<unsigned> sounds_;
};

}  // namespace pf
