#pragma once
// AshenmoorAppDelegate: the application's delegate. At every launch it shows the notice
// pointing users to another application, then puts the tab bar in the window and shows it.
// It reacts to nothing else: the notice's buttons only dismiss it, and the ads look after
// themselves.
#include <memory>

#include "platform/ui/AlertViewDelegate.h"
#include "platform/ui/ApplicationDelegate.h"
#include "platform/ui/TabBarController.h"
#include "platform/ui/Window.h"

inline constexpr char kAshenmoorNoticeTitle[] = "Reelbox";
inline constexpr char kAshenmoorNoticeMessage[] =
    "This application will soon be canceled! So head to Cydia and search for 'Reelbox' That app will let you "
    "stream hundreds of movies and TV-Shows (including Ashenmoor)";

class AshenmoorAppDelegate : public pf::ApplicationDelegate,
                             public pf::AlertViewDelegate,
                             public std::enable_shared_from_this<AshenmoorAppDelegate> {
 public:
  static std::shared_ptr<AshenmoorAppDelegate> create() {
    return std::shared_ptr<AshenmoorAppDelegate>(new AshenmoorAppDelegate());
  }

  const std::shared_ptr<pf::Window>& window() const { return window_; }
  void setWindow(std::shared_ptr<pf::Window> window) { window_ = std::move(window); }  // outlet
  const std::shared_ptr<pf::TabBarController>& tabBarController() const { return tabBarController_; }
  void setTabBarController(std::shared_ptr<pf::TabBarController> tabs) { tabBarController_ = std::move(tabs); }

  bool applicationDidFinishLaunchingWithOptions(pf::Application& app, const pf::Value& options) override;

 private:
  AshenmoorAppDelegate() = default;

  std::shared_ptr<pf::Window> window_;
  std::shared_ptr<pf::TabBarController> tabBarController_;
};
