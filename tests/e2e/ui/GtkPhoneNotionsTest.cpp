// Phone notions on the desktop: the application's states follow its window (shown and not
// minimised is active, whoever has the keyboard focus; minimised is the background), and the
// rotation keys turn the device, the window taking the rotated size.
#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <string>
#include <vector>

#include "DesktopHarness.h"
#include "platform/base/NotificationCenter.h"
#include "platform/gtk/GtkPeerWidget.h"
#include "platform/gtk/GtkWindowPeer.h"
#include "platform/ui/Application.h"
#include "platform/ui/ViewController.h"
#include "platform/ui/Window.h"

namespace {

using DesktopHarness::near;
using DesktopHarness::rgb;

constexpr long kTeal = 0x1098a0, kAmber = 0xe0a020;

// A page as the application's: it turns to anything but upside down, and notes what it is
// asked. Teal, with an amber banner pinned to its bottom across its width.
class Page : public pf::ViewController {
 public:
  static std::shared_ptr<Page> create() {
    auto page = std::shared_ptr<Page>(new Page());
    registerLive(page);
    return page;
  }
  bool shouldAutorotateToInterfaceOrientation(pf::InterfaceOrientation o) override {
    asked.push_back(o);
    return o != pf::InterfaceOrientation::PortraitUpsideDown;
  }
  void viewDidLoad() override {
    view()->setBackgroundColor(rgb(kTeal));
    banner = pf::View::create(pf::Rect(0, 460 - 50, 320, 50));
    banner->setBackgroundColor(rgb(kAmber));
    banner->setAutoresizingMask(pf::View::FlexibleWidth | pf::View::FlexibleTopMargin);
    view()->addSubview(banner);
  }
  std::vector<pf::InterfaceOrientation> asked;
  std::shared_ptr<pf::View> banner;

 private:
  Page() = default;
};

class GtkPhoneNotionsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    pf::Application::resetSharedApplication();
    app_ = pf::Application::sharedApplication();
    window_ = pf::Window::create();
    window_->setBackgroundColor(pf::Color::black());
    page_ = Page::create();
    window_->setRootViewController(page_);
    app_->finishLaunching();
    peer_ = DesktopHarness::show(*window_, "Ashenmoor e2e phone notions");
    ASSERT_NE(peer_, nullptr);
    ASSERT_EQ(app_->applicationState(), pf::ApplicationState::Active);
  }
  void TearDown() override {
    pf::NotificationCenter::defaultCenter().removeObserver(this);
    if (stranger_) gtk_window_destroy(stranger_);
    page_.reset();
    window_.reset();
    DesktopHarness::stopWindowManager();
    DesktopHarness::settle(50);
  }

  GtkWindow* gtkWindow() const { return peer_->gtkWindow(); }
  GtkWidget* rootWidget() const { return pf::GtkPeerWidget::of(window_->peer()); }
  long pixel(double x, double y) { return DesktopHarness::pixelAt(*peer_, {x, y}); }

  std::shared_ptr<pf::Application> app_;
  std::shared_ptr<pf::Window> window_;
  std::shared_ptr<Page> page_;
  pf::GtkWindowPeer* peer_ = nullptr;
  GtkWindow* stranger_ = nullptr;  // another application's window
};

TEST_F(GtkPhoneNotionsTest, TheApplicationIsActiveWhileItsWindowIsOnScreenAndInTheBackgroundWhileMinimised) {
  auto started = std::chrono::steady_clock::now();
  ASSERT_TRUE(DesktopHarness::startWindowManager()) << "openbox did not start (scripts/install-deps installs it)";
  ASSERT_TRUE(DesktopHarness::restore(gtkWindow()));  // managed, on top and focused
  ASSERT_TRUE(DesktopHarness::spin([&] { return gtk_window_is_active(gtkWindow()); }, 3000));
  int resigned = 0;
  pf::NotificationCenter::defaultCenter().addObserver(this, pf::UIApplicationWillResignActiveNotification, nullptr,
                                                      [&](const pf::Notification&) { ++resigned; });

  // Another window takes the keyboard focus: our window is still on screen, still active.
  GtkWindow* other = stranger_ = GTK_WINDOW(gtk_window_new());
  gtk_window_set_title(other, "Another application");
  gtk_window_set_default_size(other, 200, 100);
  gtk_window_present(other);
  ASSERT_TRUE(DesktopHarness::waitMapped(other, 3000));
  ASSERT_TRUE(DesktopHarness::restore(other));
  ASSERT_TRUE(DesktopHarness::spin([&] { return gtk_window_is_active(other) && !gtk_window_is_active(gtkWindow()); },
                                   3000))
      << "the window manager did not give the focus to the other window";
  DesktopHarness::settle(200);
  EXPECT_EQ(app_->applicationState(), pf::ApplicationState::Active) << "the focus elsewhere made us inactive";
  EXPECT_EQ(resigned, 0) << "the focus elsewhere resigned active, if only for a moment";

  // Minimised: the background, after resigning active.
  ASSERT_TRUE(DesktopHarness::minimize(gtkWindow()));
  ASSERT_TRUE(DesktopHarness::spin([&] { return app_->applicationState() == pf::ApplicationState::Background; }, 3000))
      << "minimising did not send the application to the background";
  EXPECT_TRUE(peer_->isMinimized());
  EXPECT_EQ(resigned, 1);

  // Restored: the foreground, then active (the order of the notifications on the way is the
  // neutral application's: ApplicationTest).
  ASSERT_TRUE(DesktopHarness::restore(gtkWindow()));
  ASSERT_TRUE(DesktopHarness::spin([&] { return app_->applicationState() == pf::ApplicationState::Active; }, 3000))
      << "restoring the window did not make the application active";
  EXPECT_FALSE(peer_->isMinimized());

  // Hidden is the background too; shown again, active.
  window_->setHidden(true);
  ASSERT_TRUE(DesktopHarness::spin([&] { return app_->applicationState() == pf::ApplicationState::Background; }, 3000));
  window_->makeKeyAndVisible();
  ASSERT_TRUE(DesktopHarness::spin([&] { return app_->applicationState() == pf::ApplicationState::Active; }, 3000));
  auto seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
  EXPECT_LT(seconds, 15.0) << "the window manager made the test slow";
}

TEST_F(GtkPhoneNotionsTest, CtrlArrowsTurnTheDeviceAndTheWindowTakesTheRotatedSize) {
  auto windowWidth = [&] { return gtk_widget_get_width(GTK_WIDGET(gtkWindow())); };
  ASSERT_EQ(windowWidth(), 320);

  ASSERT_TRUE(DesktopHarness::key(gtkWindow(), "ctrl+Left"));
  auto turnedTo = [&](pf::InterfaceOrientation o) {
    return DesktopHarness::spin([&] { return app_->statusBarOrientation() == o; }, 3000);
  };
  ASSERT_TRUE(turnedTo(pf::InterfaceOrientation::LandscapeLeft)) << "Ctrl+Left did not turn the device";
  ASSERT_TRUE(DesktopHarness::spin([&] { return windowWidth() == 480; }, 3000))
      << "the window is " << windowWidth() << " wide";
  EXPECT_EQ(gtk_widget_get_width(rootWidget()), 480);
  EXPECT_EQ(gtk_widget_get_height(rootWidget()), 320);
  GdkSurface* surface = gtk_native_get_surface(GTK_NATIVE(gtkWindow()));
  EXPECT_GE(gdk_surface_get_width(surface), 480);
  EXPECT_LT(gdk_surface_get_height(surface), 480) << "the window kept its portrait height";
  EXPECT_TRUE(near(pixel(476, 10), 0x000000)) << "the status strip does not go across the top";
  EXPECT_TRUE(near(pixel(476, 100), kTeal)) << "the page does not fill the turned window";
  EXPECT_TRUE(near(pixel(476, 316), kAmber)) << "the banner did not follow its mask";
  auto shot = DesktopHarness::snapshot(GTK_WIDGET(gtkWindow()), "landscape-left");
  EXPECT_TRUE(shot.saved) << shot.error;

  // Upside down: the page refuses, nothing changes.
  page_->asked.clear();
  ASSERT_TRUE(DesktopHarness::key(gtkWindow(), "ctrl+Down"));
  ASSERT_TRUE(DesktopHarness::spin([&] { return !page_->asked.empty(); }, 3000)) << "Ctrl+Down asked nothing";
  EXPECT_EQ(page_->asked.back(), pf::InterfaceOrientation::PortraitUpsideDown);
  DesktopHarness::settle(200);
  EXPECT_EQ(app_->statusBarOrientation(), pf::InterfaceOrientation::LandscapeLeft);
  EXPECT_EQ(gtk_widget_get_width(rootWidget()), 480);
  EXPECT_EQ(windowWidth(), 480);

  // The other landscape keeps the size; portrait gives the phone back its shape.
  ASSERT_TRUE(DesktopHarness::key(gtkWindow(), "ctrl+Right"));
  ASSERT_TRUE(turnedTo(pf::InterfaceOrientation::LandscapeRight));
  EXPECT_EQ(gtk_widget_get_width(rootWidget()), 480);
  ASSERT_TRUE(DesktopHarness::key(gtkWindow(), "ctrl+Up"));
  ASSERT_TRUE(turnedTo(pf::InterfaceOrientation::Portrait));
  ASSERT_TRUE(DesktopHarness::spin([&] { return windowWidth() == 320; }, 3000));
  EXPECT_EQ(gtk_widget_get_width(rootWidget()), 320);
  EXPECT_EQ(gtk_widget_get_height(rootWidget()), 480);
  EXPECT_TRUE(near(pixel(160, 480 - 3), kAmber));
}

}  // namespace
