// Alerts, images, toolbars, spinners and the mail form.
#include <gtest/gtest.h>

#include "TestData.h"
#include "UIFixture.h"
#include "platform/sim/SimUIAlertView.h"
#include "platform/sim/SimUIMailComposer.h"
#include "platform/ui/ActivityIndicatorView.h"
#include "platform/ui/AlertView.h"
#include "platform/ui/Image.h"
#include "platform/ui/MailComposeViewController.h"
#include "platform/ui/Toolbar.h"
#include "platform/ui/Window.h"

namespace {

using test_data::pngHeader;

TEST(ImageTest, ReadsThePixelSizeFromThePNGHeaderAndMeasuresInPoints) {
  auto img = pf::Image::imageWithData(pngHeader(50, 54));
  ASSERT_TRUE(img);
  EXPECT_EQ(img->pixelSize(), (pf::Size{50, 54}));
  EXPECT_EQ(img->size(), (pf::Size{50, 54}));
  auto retina = pf::Image::imageWithImage(*img, 2.0);
  EXPECT_EQ(retina->size(), (pf::Size{25, 27}));
  EXPECT_EQ(retina->data(), img->data());
  auto half = pf::Image::redrawn(*img, {25.5, 26.6});  // roundf, as the old road did
  EXPECT_EQ(half->pixelSize(), (pf::Size{26, 27}));
  EXPECT_EQ(half->sourcePixelSize(), (pf::Size{50, 54}));
  EXPECT_DOUBLE_EQ(half->scale(), 1.0);
}

TEST(ImageTest, RejectsWhatIsNoPNG) {
  EXPECT_FALSE(pf::Image::imageWithData(""));
  EXPECT_FALSE(pf::Image::imageWithData("GIF89a......................................."));
  EXPECT_FALSE(pf::Image::imageWithData(pngHeader(50, 54).substr(0, 20)));  // cut short
  EXPECT_FALSE(pf::Image::imageWithData(pngHeader(0, 54)));
  std::string wrongChunk = pngHeader(5, 5);
  wrongChunk[12] = 'X';
  EXPECT_FALSE(pf::Image::imageWithData(wrongChunk));
}

class AlertTest : public uitest::UITest, public pf::AlertViewDelegate {
 protected:
  void alertViewClickedButtonAtIndex(const std::shared_ptr<pf::AlertView>&, int i) override {
    log.push_back("clicked " + std::to_string(i));
  }
  void alertViewWillDismissWithButtonIndex(const std::shared_ptr<pf::AlertView>&, int i) override {
    log.push_back("willDismiss " + std::to_string(i));
  }
  void alertViewDidDismissWithButtonIndex(const std::shared_ptr<pf::AlertView>&, int i) override {
    log.push_back("didDismiss " + std::to_string(i));
  }
  // The test is its own delegate: a non-owning handle to it.
  std::shared_ptr<pf::AlertViewDelegate> self{this, [](pf::AlertViewDelegate*) {}};
};

TEST_F(AlertTest, ShownAlertsLiveOnAndATapClicksThenDismisses) {
  std::weak_ptr<pf::AlertView> weak;
  {
    auto alert = pf::AlertView::create("Reelbox", "soon canceled", self, "OK", {"Cancel"});
    EXPECT_EQ(alert->numberOfButtons(), 2);
    EXPECT_EQ(alert->cancelButtonIndex(), 0);
    EXPECT_EQ(alert->buttonTitleAtIndex(1), "Cancel");
    alert->show();
    weak = alert;
  }
  ASSERT_FALSE(weak.expired());  // the application keeps it while shown
  auto alert = weak.lock();
  EXPECT_TRUE(static_cast<pf::SimUIAlertView&>(alert->peer()).isShown());
  EXPECT_TRUE(pf::SimUIAlertView::tap(*alert, "Cancel"));
  EXPECT_EQ(log, (Log{"clicked 1", "willDismiss 1"}));
  clock.advance(0.3);
  EXPECT_EQ(log, (Log{"clicked 1", "willDismiss 1", "didDismiss 1"}));
  alert.reset();
  EXPECT_TRUE(weak.expired());
}

TEST_F(AlertTest, DismissingFromCodeClicksNothingAndWithoutCancelThereIsNoCancelIndex) {
  auto alert = pf::AlertView::create("t", "m", self, std::nullopt, {"A", "B"});
  EXPECT_EQ(alert->cancelButtonIndex(), -1);
  alert->show();
  alert->dismissWithClickedButtonIndex(0, false);
  EXPECT_EQ(log, (Log{"willDismiss 0", "didDismiss 0"}));
  EXPECT_FALSE(pf::SimUIAlertView::topAlert());
  alert->userClickedButtonAtIndex(1);  // gone: nothing
  EXPECT_EQ(log.size(), 2u);
}

class ToolbarTest : public uitest::UITest {};

TEST_F(ToolbarTest, FlexibleSpacesShareTheRestAndItemChangesReachTheBar) {
  auto bar = pf::Toolbar::create(pf::Rect(0, 436, 320, 44));
  int taps = 0;
  auto flex = pf::BarButtonItem::withSystemItem(pf::BarButtonSystemItem::FlexibleSpace);
  auto back = pf::BarButtonItem::withTitle("<", pf::BarButtonItemStyle::Plain, [&] { ++taps; });
  back->setWidth(27);
  back->setEnabled(false);
  auto spinner = pf::ActivityIndicatorView::create(pf::ActivityIndicatorStyle::White);
  auto spin = pf::BarButtonItem::withCustomView(spinner);
  auto done = pf::BarButtonItem::withSystemItem(pf::BarButtonSystemItem::Done, [&] { taps += 10; });
  bar->setItems({back, flex, spin, flex, done});
  auto& f = bar->itemFrames();
  ASSERT_EQ(f.size(), 5u);
  // 320 - 2×6 padding - (27 + 20 + 50 for "Done") - 2×10 spacing = 191, two flexible spaces of 95.5.
  EXPECT_DOUBLE_EQ(f[0].minX(), 6);
  EXPECT_DOUBLE_EQ(f[1].width(), 95.5);
  EXPECT_DOUBLE_EQ(f[2].minX(), 6 + 27 + 10 + 95.5);
  EXPECT_DOUBLE_EQ(f[4].maxX(), 314);
  EXPECT_EQ(spinner->superview(), bar);
  EXPECT_EQ(spinner->frame(), f[2]);

  back->performAction();
  done->performAction();
  EXPECT_EQ(taps, 10);  // the disabled one did nothing
  back->setEnabled(true);
  back->performAction();
  EXPECT_EQ(taps, 11);

  bar->setItems({done});  // the custom view leaves with its item
  EXPECT_EQ(spinner->superview(), nullptr);
  bar->setFrame(pf::Rect(0, 0, 480, 30));
  EXPECT_DOUBLE_EQ(bar->itemFrames()[0].minX(), 6);
}

TEST_F(ToolbarTest, SpinnerHidesWhenStopped) {
  auto s = pf::ActivityIndicatorView::create(pf::ActivityIndicatorStyle::WhiteLarge);
  EXPECT_TRUE(s->isHidden());
  s->startAnimating();
  EXPECT_TRUE(s->isAnimating());
  EXPECT_FALSE(s->isHidden());
  s->setHidesWhenStopped(false);
  s->stopAnimating();
  EXPECT_FALSE(s->isHidden());
}

class MailTest : public uitest::UITest, public pf::MailComposeViewControllerDelegate {
 protected:
  void mailComposeControllerDidFinishWithResult(const std::shared_ptr<pf::MailComposeViewController>& c,
                                                pf::MailComposeResult r, const std::optional<pf::Error>&) override {
    results.push_back(r);
    c->dismissModalViewControllerAnimated(true);
  }
  std::vector<pf::MailComposeResult> results;
  std::shared_ptr<pf::MailComposeViewControllerDelegate> self{this, [](pf::MailComposeViewControllerDelegate*) {}};
};

TEST_F(MailTest, TheFormShowsTheMessageWhilePresentedAndTheDelegateHearsTheResult) {
  auto window = pf::Window::create();
  auto root = pf::ViewController::create();
  window->setRootViewController(root);
  window->makeKeyAndVisible();
  EXPECT_TRUE(pf::MailComposeViewController::canSendMail());
  auto mail = pf::MailComposeViewController::create();
  mail->setMailComposeDelegate(self);
  mail->setToRecipients({"ads@example.com"});
  mail->setCcRecipients({"a@example.com", "b@example.com"});
  mail->setSubject("Hello");
  mail->setMessageBody("Body", false);
  auto* sim = pf::SimUIMailComposer::of(*mail);
  ASSERT_TRUE(sim);
  EXPECT_FALSE(sim->shownMessage());
  root->presentModalViewController(mail, true);
  ASSERT_TRUE(sim->shownMessage());
  EXPECT_EQ(sim->shownMessage()->cc.size(), 2u);
  EXPECT_EQ(sim->shownMessage()->subject, "Hello");
  clock.advance(0.3);
  sim->finish(pf::MailComposeResult::Sent);
  EXPECT_EQ(results, std::vector<pf::MailComposeResult>{pf::MailComposeResult::Sent});
  clock.advance(0.3);
  EXPECT_FALSE(sim->shownMessage());
  EXPECT_EQ(root->modalViewController(), nullptr);
}

}  // namespace
