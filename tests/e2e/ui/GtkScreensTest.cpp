// The phone-sized desktop window: status bar, tab bar, a button pressed with the pointer, a
// modal controller over the tab bar, an alert, the mail form, URLs handed to the desktop.
#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <regex>
#include <string>
#include <vector>

#include "DesktopHarness.h"
#include "platform/gtk/GtkAlertViewPeer.h"
#include "platform/gtk/GtkApplicationPeer.h"
#include "platform/gtk/GtkMailComposerPeer.h"
#include "platform/gtk/GtkPeerWidget.h"
#include "platform/gtk/GtkTabBarPeer.h"
#include "platform/gtk/GtkWindowPeer.h"
#include "platform/ui/AlertView.h"
#include "platform/ui/Application.h"
#include "platform/ui/Button.h"
#include "platform/ui/Image.h"
#include "platform/ui/MailComposeViewController.h"
#include "platform/ui/TabBarController.h"
#include "platform/ui/Window.h"

namespace {

using DesktopHarness::near;
using DesktopHarness::rgb;

constexpr long kTeal = 0x1098a0, kAmber = 0xe0a020, kPlum = 0x6a2c70, kRed = 0xff0000;

std::string pngOfColour(int w, int h, guint32 rgba) {
  GdkPixbuf* pixbuf = gdk_pixbuf_new(GDK_COLORSPACE_RGB, TRUE, 8, w, h);
  gdk_pixbuf_fill(pixbuf, rgba);
  gchar* buffer = nullptr;
  gsize size = 0;
  gdk_pixbuf_save_to_buffer(pixbuf, &buffer, &size, "png", nullptr, nullptr);
  std::string bytes(buffer, size);
  g_free(buffer);
  g_object_unref(pixbuf);
  return bytes;
}

std::shared_ptr<pf::ViewController> colouredController(const std::string& title, long colour) {
  auto vc = pf::ViewController::create();
  vc->setTitle(title);
  auto view = pf::View::create(pf::Rect(0, 0, 320, 411));
  view->setBackgroundColor(rgb(colour));
  vc->setView(view);
  return vc;
}

// The centre of `widget` in the surface coordinates of its window.
pf::Point centreOnSurface(GtkWidget* widget) {
  GtkNative* native = gtk_widget_get_native(widget);
  graphene_point_t in = GRAPHENE_POINT_INIT(gtk_widget_get_width(widget) / 2.0f, gtk_widget_get_height(widget) / 2.0f);
  graphene_point_t out;
  if (!gtk_widget_compute_point(widget, GTK_WIDGET(native), &in, &out)) return {-1, -1};
  double dx = 0, dy = 0;
  gtk_native_get_surface_transform(native, &dx, &dy);
  return {out.x + dx, out.y + dy};
}

class GtkScreensTest : public ::testing::Test {
 protected:
  void SetUp() override {
    pf::Application::resetSharedApplication();
    app_ = pf::Application::sharedApplication();
    window_ = pf::Window::create();
    window_->setBackgroundColor(pf::Color::black());
    tabs_ = pf::TabBarController::create();
    tabs_->setViewControllers({colouredController("Classics", kTeal), colouredController("Contact", kAmber),
                               colouredController("More", kPlum)});
    window_->setRootViewController(tabs_);
    app_->finishLaunching();  // active, as long as the window is on screen
    peer_ = DesktopHarness::show(*window_, "Ashenmoor e2e screens");
    ASSERT_NE(peer_, nullptr);
  }
  void TearDown() override {
    tabs_.reset();
    window_.reset();
    DesktopHarness::settle(50);
  }

  GtkWidget* gtkWindow() const { return GTK_WIDGET(peer_->gtkWindow()); }
  long pixel(double x, double y) { return DesktopHarness::pixelAt(*peer_, {x, y}); }

  std::shared_ptr<pf::Application> app_;
  std::shared_ptr<pf::Window> window_;
  std::shared_ptr<pf::TabBarController> tabs_;
  pf::GtkWindowPeer* peer_ = nullptr;
};

TEST_F(GtkScreensTest, PhoneSizedWindowWithStatusBarPagesAndATabBarThatAPointerSwitches) {
  GtkWidget* root = pf::GtkPeerWidget::of(window_->peer());
  EXPECT_EQ(gtk_widget_get_width(root), 320);
  EXPECT_EQ(gtk_widget_get_height(root), 480);
  EXPECT_TRUE(std::regex_match(peer_->statusBar().timeText(), std::regex("[0-2][0-9]:[0-5][0-9]")))
      << peer_->statusBar().timeText();
  EXPECT_TRUE(near(pixel(316, 10), 0x000000)) << "no status bar strip";
  EXPECT_TRUE(near(pixel(160, 200), kTeal)) << "the first page does not fill the page area";
  EXPECT_FALSE(near(pixel(2, 480 - 3), kTeal)) << "no tab bar at the bottom";

  auto* tabPeer = dynamic_cast<pf::GtkTabBarPeer*>(&tabs_->tabBar()->peer());
  ASSERT_NE(tabPeer, nullptr);
  ASSERT_EQ(tabPeer->buttons().size(), 3u);
  auto shot = DesktopHarness::snapshot(gtkWindow(), "window-tabs");
  EXPECT_TRUE(shot.saved) << shot.error;

  // A real click on the second tab (a third of the 320 points each, in the 49-point bar).
  ASSERT_TRUE(DesktopHarness::click(peer_->gtkWindow(), peer_->surfacePoint({160, 480 - 24})));
  ASSERT_TRUE(DesktopHarness::spin([&] { return tabs_->selectedIndex() == 1; }, 3000));
  EXPECT_TRUE(near(pixel(160, 200), kAmber)) << "the second page is not shown";
  DesktopHarness::snapshot(gtkWindow(), "window-second-tab");
}

TEST_F(GtkScreensTest, AButtonImageAtScaleTwoDrawsAtHalfItsPixelsAndAPointerClickRunsItsActionOnce) {
  auto image = pf::Image::imageWithData(pngOfColour(80, 80, 0xff0000ff), 2.0);
  ASSERT_TRUE(image);
  auto button = pf::Button::buttonWithType(pf::ButtonType::Custom);
  button->setFrame(pf::Rect(100, 100, 60, 60));
  button->setImageForState(image, pf::ControlState::Normal);
  int actions = 0;
  button->addTarget(this, [&] { ++actions; }, pf::ControlEventTouchUpInside);
  tabs_->selectedViewController()->view()->addSubview(button);
  // Page coordinates start 20 points down (under the status bar): the button spans 100…160,
  // 120…180 of the window; an 80-pixel image at scale 2 is 40 points, centred: 110…150, 130…170.
  EXPECT_TRUE(near(pixel(130, 150), kRed)) << "the image is not drawn in the button";
  EXPECT_TRUE(near(pixel(148, 168), kRed));
  EXPECT_TRUE(near(pixel(104, 124), kTeal)) << "the image is drawn at its pixel size, not its point size";
  EXPECT_TRUE(near(pixel(154, 174), kTeal));
  ASSERT_TRUE(DesktopHarness::click(peer_->gtkWindow(), peer_->surfacePoint({130, 150})));
  ASSERT_TRUE(DesktopHarness::spin([&] { return actions > 0; }, 3000));
  DesktopHarness::settle(100);
  EXPECT_EQ(actions, 1);
  // A click beside it runs nothing.
  ASSERT_TRUE(DesktopHarness::click(peer_->gtkWindow(), peer_->surfacePoint({200, 250})));
  DesktopHarness::settle(200);
  EXPECT_EQ(actions, 1);
}

TEST_F(GtkScreensTest, AModalControllerCoversTheTabBarAndIsDismissed) {
  auto modal = colouredController("Full screen", kPlum);
  modal->view()->setFrame(pf::Rect(0, 0, 320, 460));
  tabs_->presentModalViewController(modal, true);
  ASSERT_TRUE(DesktopHarness::spin([&] { return modal->isAppeared(); }, 3000));
  EXPECT_TRUE(near(pixel(160, 480 - 24), kPlum)) << "the modal page does not cover the tab bar";
  DesktopHarness::snapshot(gtkWindow(), "modal-over-tabs");

  tabs_->dismissModalViewControllerAnimated(true);
  ASSERT_TRUE(DesktopHarness::spin([&] { return !modal->isAppeared() && tabs_->isAppeared(); }, 3000));
  EXPECT_EQ(gtk_widget_get_parent(pf::GtkPeerWidget::of(modal->view()->peer())), nullptr);
  EXPECT_FALSE(near(pixel(160, 480 - 3), kPlum)) << "the tab bar did not come back";
  EXPECT_TRUE(near(pixel(160, 200), kTeal));
}

class RecordingAlertDelegate : public pf::AlertViewDelegate {
 public:
  void alertViewClickedButtonAtIndex(const std::shared_ptr<pf::AlertView>&, int index) override { clicked = index; }
  void alertViewDidDismissWithButtonIndex(const std::shared_ptr<pf::AlertView>&, int index) override {
    dismissed = index;
  }
  std::optional<int> clicked;
  std::optional<int> dismissed;
};

// An alert's box shows its buttons, cancel first, over our window. A pointer click presses a
// button; Return presses the default button (the first that is not the cancel button, else the
// cancel button), wherever the focus is; Escape presses the cancel button.
TEST_F(GtkScreensTest, AnAlertsButtonIsPressedByAPointerClickReturnOrEscape) {
  const struct {
    const char* cancel;
    std::vector<std::string> others;
    bool focusOnCancel;
    const char* press;  // a key, or "click": a pointer click on the last button
    int defaultIndex, clicked;
  } kCases[] = {
      {"Later", {"Watch"}, false, "click", 1, 1},
      {"Later", {"Watch"}, true, "Return", 1, 1},  // the launch notice's shape
      {"OK", {}, false, "Return", 0, 0},
      {"Cancel", {"Mail", "Copy link"}, false, "Escape", 1, 0},
      {"Cancel", {"Mail", "Copy link"}, false, "Return", 1, 1},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(std::string(c.cancel) + " " + c.press);
    auto delegate = std::make_shared<RecordingAlertDelegate>();
    auto alert = pf::AlertView::create("Ashenmoor", "A question", delegate, c.cancel, c.others);
    alert->show();
    auto* alertPeer = pf::GtkAlertViewPeer::of(*alert);
    ASSERT_TRUE(alertPeer && alertPeer->gtkWindow() && DesktopHarness::waitMapped(alertPeer->gtkWindow(), 5000));
    ASSERT_EQ(alertPeer->buttons().size(), c.others.size() + 1);
    for (size_t i = 0; i < alertPeer->buttons().size(); ++i)
      EXPECT_EQ(gtk_button_get_label(GTK_BUTTON(alertPeer->buttons()[i])), i ? c.others[i - 1] : c.cancel);
    EXPECT_EQ(gtk_window_get_transient_for(alertPeer->gtkWindow()), peer_->gtkWindow());
    EXPECT_EQ(alertPeer->defaultIndex(), c.defaultIndex);
    if (std::string(c.press) == "click") {
      DesktopHarness::snapshot(GTK_WIDGET(alertPeer->gtkWindow()), "alert");
      ASSERT_TRUE(DesktopHarness::click(alertPeer->gtkWindow(), centreOnSurface(alertPeer->buttons().back())));
    } else {
      if (c.focusOnCancel) gtk_widget_grab_focus(alertPeer->buttons()[0]);
      ASSERT_TRUE(DesktopHarness::key(alertPeer->gtkWindow(), c.press));
    }
    ASSERT_TRUE(DesktopHarness::spin([&] { return delegate->dismissed.has_value(); }, 3000)) << "nothing pressed";
    EXPECT_EQ(delegate->clicked, c.clicked);
    EXPECT_EQ(delegate->dismissed, c.clicked);
    EXPECT_EQ(alertPeer->gtkWindow(), nullptr) << "the alert box stays on screen";
    EXPECT_TRUE(app_->visibleAlerts().empty());
    EXPECT_EQ(app_->applicationState(), pf::ApplicationState::Active) << "our own alert made us inactive";
  }
}

class ComposerDelegate : public pf::MailComposeViewControllerDelegate {
 public:
  void mailComposeControllerDidFinishWithResult(const std::shared_ptr<pf::MailComposeViewController>& c,
                                                pf::MailComposeResult r, const std::optional<pf::Error>&) override {
    result = r;
    c->dismissModalViewControllerAnimated(false);
  }
  std::optional<pf::MailComposeResult> result;
};

TEST_F(GtkScreensTest, TheMailFormSendsAMailtoURLToTheDesktopsHandlerAndCancelSendsNothing) {
  EXPECT_TRUE(pf::MailComposeViewController::canSendMail());
  auto delegate = std::make_shared<ComposerDelegate>();
  auto composer = pf::MailComposeViewController::create();
  composer->setMailComposeDelegate(delegate);
  composer->setToRecipients({"fan@ashenmoor.example", "second+tag@example.org"});
  composer->setCcRecipients({"cc@example.org"});
  composer->setSubject("Episode 2 & the fog?");
  composer->setMessageBody("Line one\nLine two: 100% moor", false);
  tabs_->presentModalViewController(composer, false);
  auto* form = pf::GtkMailComposerPeer::of(*composer);
  ASSERT_NE(form, nullptr);
  ASSERT_TRUE(form->form());
  ASSERT_TRUE(DesktopHarness::spin([&] { return gtk_widget_get_mapped(form->sendButton()); }, 3000));
  DesktopHarness::settle(100);
  DesktopHarness::snapshot(gtkWindow(), "mail-composer");

  size_t before = DesktopHarness::launchedURLs(0, 0).size();
  ASSERT_TRUE(DesktopHarness::click(peer_->gtkWindow(), centreOnSurface(form->sendButton())));
  ASSERT_TRUE(DesktopHarness::spin([&] { return delegate->result.has_value(); }, 3000));
  EXPECT_EQ(*delegate->result, pf::MailComposeResult::Sent);
  auto launched = DesktopHarness::launchedURLs(before + 1, 5000);

  ASSERT_EQ(launched.size(), before + 1);
  EXPECT_EQ(launched.back(),
            "mailto:fan@ashenmoor.example,second+tag@example.org?cc=cc@example.org"
            "&subject=Episode%202%20%26%20the%20fog%3F&body=Line%20one%0D%0ALine%20two%3A%20100%25%20moor");
  EXPECT_FALSE(composer->isAppeared());

  delegate->result.reset();
  tabs_->presentModalViewController(composer, false);
  ASSERT_TRUE(form->form());
  g_signal_emit_by_name(form->cancelButton(), "clicked");
  EXPECT_EQ(delegate->result, pf::MailComposeResult::Cancelled);
  DesktopHarness::settle(200);
  EXPECT_EQ(DesktopHarness::launchedURLs(0, 0).size(), before + 1);
}

TEST_F(GtkScreensTest, URLsGoToTheDesktopsHandlerOfTheirScheme) {
  EXPECT_TRUE(app_->canOpenURL(*pf::Url::parse("ashenmoor-test://episode/2")));
  EXPECT_FALSE(app_->canOpenURL(*pf::Url::parse("no-such-scheme-e2e://x")));
  EXPECT_FALSE(app_->openURL(*pf::Url::parse("no-such-scheme-e2e://x")));
  size_t before = DesktopHarness::launchedURLs(0, 0).size();
  EXPECT_TRUE(app_->openURL(*pf::Url::parse("ashenmoor-test://episode/2?from=banner")));
  auto launched = DesktopHarness::launchedURLs(before + 1, 5000);
  ASSERT_EQ(launched.size(), before + 1);
  EXPECT_EQ(launched.back(), "ashenmoor-test://episode/2?from=banner");
}

TEST_F(GtkScreensTest, TheStatusBarHidesAndAnIdleInhibitionIsAskedForWhileTheIdleTimerIsOff) {
  app_->setStatusBarHiddenWithAnimation(true, pf::StatusBarAnimation::None);
  EXPECT_FALSE(gtk_widget_get_visible(peer_->statusBar().widget()));
  app_->setStatusBarHiddenWithAnimation(false, pf::StatusBarAnimation::None);
  EXPECT_TRUE(gtk_widget_get_visible(peer_->statusBar().widget()));

  auto* system = dynamic_cast<pf::GtkApplicationPeer*>(&app_->peer());
  ASSERT_NE(system, nullptr);
  app_->setIdleTimerDisabled(true);
  EXPECT_TRUE(system->isIdleInhibitRequested());
  app_->setIdleTimerDisabled(false);
  EXPECT_FALSE(system->isIdleInhibitRequested());
  EXPECT_EQ(system->inhibitCookie(), 0u);
}

}  // namespace
