#pragma once
// pf::Application: the running application (UIApplication sharedApplication on the phone).
//
// Lifecycle: the backend (or a sim test) reports what the system does, and the application
// tells its delegate, then posts the matching notification on the default
// pf::NotificationCenter with itself as object, in the phone platform's order:
//
//   finishLaunching   didFinishLaunchingWithOptions, DidFinishLaunching; then becomeActive
//   becomeActive      (state Active) DidBecomeActive
//   resignActive      WillResignActive (state Inactive)
//   enterBackground   resignActive first if active; (state Background) DidEnterBackground.
//                     On a device without multitasking the application terminates instead.
//   enterForeground   WillEnterForeground (state Inactive); becomeActive follows separately
//   terminate         WillTerminate
//   receiveMemoryWarning  DidReceiveMemoryWarning, then every live view controller's
//                     didReceiveMemoryWarning
//
// Ask pf::Device::offers(Capability::ApplicationState / BackgroundTasks /
// StatusBarHiddenWithAnimation) where phone code asks whether the operation exists.
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <vector>

#include "platform/base/Url.h"
#include "platform/base/Value.h"
#include "platform/ui/ApplicationDelegate.h"
#include "platform/ui/ApplicationPeer.h"
#include "platform/ui/Geometry.h"
#include "platform/ui/InterfaceOrientation.h"

namespace pf {

class AlertView;
class Window;

enum class ApplicationState { Active = 0, Inactive = 1, Background = 2 };
enum class StatusBarAnimation { None = 0, Fade = 1, Slide = 2 };

using BackgroundTaskIdentifier = uint64_t;
inline constexpr BackgroundTaskIdentifier kBackgroundTaskInvalid = 0;

class Application : public std::enable_shared_from_this<Application> {
 public:
  // Made on first use with the installed backend's peer.
  static std::shared_ptr<Application> sharedApplication();
  // Forgets the shared application (between tests; a backend switch).
  static void resetSharedApplication();
  ~Application();

  // ---- delegate ----
  std::shared_ptr<ApplicationDelegate> delegate() const { return delegate_.lock(); }
  void setDelegate(std::weak_ptr<ApplicationDelegate> d) { delegate_ = std::move(d); }  // not retained
  // Objects that live as long as the application (the interface description's top level).
  void retainObject(std::shared_ptr<void> object) { retained_.push_back(std::move(object)); }

  // ---- lifecycle (backend side) ----
  ApplicationState applicationState() const { return state_; }
  bool finishLaunching(const Value& options = Value::dictionary());
  void becomeActive();
  void resignActive();
  void enterBackground();
  void enterForeground();
  void terminate();
  void receiveMemoryWarning();
  bool isTerminated() const { return terminated_; }
  bool hasFinishedLaunching() const { return launched_; }

  // ---- windows ----
  std::shared_ptr<Window> keyWindow() const { return keyWindow_.lock(); }
  std::vector<std::shared_ptr<Window>> windows() const;
  void registerWindow(const std::shared_ptr<Window>& window);
  void setKeyWindow(const std::shared_ptr<Window>& window);

  // ---- status bar ----
  bool isStatusBarHidden() const { return statusBarHidden_; }
  void setStatusBarHiddenWithAnimation(bool hidden, StatusBarAnimation animation);
  void setStatusBarHiddenAnimated(bool hidden, bool animated);  // the pre-3.2 form
  // In screen coordinates; empty when hidden.
  Rect statusBarFrame() const;
  InterfaceOrientation statusBarOrientation() const { return statusBarOrientation_; }
  void setStatusBarOrientation(InterfaceOrientation o, bool animated);
  // The device turned: the topmost controller of the key window rotates if it accepts the
  // orientation (the status bar follows; a screen-sized window takes the rotated size, see
  // Window::followInterfaceOrientation). A refused orientation changes nothing.
  void deviceOrientationDidChange(InterfaceOrientation o);

  // ---- idle timer ----
  bool isIdleTimerDisabled() const { return idleTimerDisabled_; }
  void setIdleTimerDisabled(bool disabled);

  // ---- system sounds ----
  // The phone's system sound `soundID` (kSystemSoundVibrate buzzes the device); the desktop
  // rings its bell.
  static constexpr unsigned kSystemSoundVibrate = 4095;
  void playSystemSound(unsigned soundID) { peer_->playSystemSound(soundID); }

  // ---- other applications ----
  bool openURL(const Url& url);
  bool canOpenURL(const Url& url);

  // ---- background tasks ----
  // A task that keeps the application running after it leaves the foreground; the handler
  // runs when the system's time is up and should end the task. kBackgroundTaskInvalid when
  // the device offers no background tasks.
  BackgroundTaskIdentifier beginBackgroundTaskWithExpirationHandler(std::function<void()> handler);
  void endBackgroundTask(BackgroundTaskIdentifier id);
  size_t backgroundTaskCount() const { return tasks_.size(); }
  // The system's time is up: each open task's handler runs (oldest first); tasks their
  // handlers left open are ended afterwards, since the phone would end the process.
  void expireBackgroundTasks();

  // ---- alerts on screen (kept alive while shown) ----
  const std::vector<std::shared_ptr<AlertView>>& visibleAlerts() const { return alerts_; }
  void alertShown(const std::shared_ptr<AlertView>& alert);
  void alertDismissed(const AlertView& alert);

  ApplicationPeer& peer() { return *peer_; }

 private:
  Application();
  void post(const char* name);
  template <typename F> void tellDelegate(F f);

  std::unique_ptr<ApplicationPeer> peer_;
  std::weak_ptr<ApplicationDelegate> delegate_;
  std::vector<std::shared_ptr<void>> retained_;
  ApplicationState state_ = ApplicationState::Inactive;
  bool launched_ = false;
  bool terminated_ = false;
  std::vector<std::weak_ptr<Window>> windows_;
  std::weak_ptr<Window> keyWindow_;
  bool statusBarHidden_ = false;
  InterfaceOrientation statusBarOrientation_ = InterfaceOrientation::Portrait;
  bool idleTimerDisabled_ = false;
  BackgroundTaskIdentifier nextTask_ = 1;
  std::map<BackgroundTaskIdentifier, std::shared_ptr<std::function<void()>>> tasks_;
  std::vector<std::shared_ptr<AlertView>> alerts_;
};

}  // namespace pf
