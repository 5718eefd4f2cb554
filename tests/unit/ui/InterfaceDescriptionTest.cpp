// The interface description and the launch: objects made by class name, outlets wired,
// unknown classes reported by name; ApplicationMain from a bundle on disk.
#include <gtest/gtest.h>

#include "LogCapture.h"
#include "UIFixture.h"
#include "platform/base/FileManager.h"
#include "platform/base/PropertyList.h"
#include "platform/sim/SimHome.h"
#include "platform/sim/SimUIAlertView.h"
#include "platform/ui/AlertView.h"
#include "platform/ui/Application.h"
#include "platform/ui/ApplicationMain.h"
#include "platform/ui/ClassRegistry.h"
#include "platform/ui/InterfaceDescription.h"
#include "platform/ui/Label.h"
#include "platform/ui/TabBarController.h"
#include "platform/ui/WebView.h"

namespace {

using pf::Value;

class PageController : public pf::ViewController {
 public:
  static std::shared_ptr<PageController> create() { return std::shared_ptr<PageController>(new PageController()); }
  void setPageView(std::shared_ptr<pf::WebView> v) { pageView = std::move(v); }
  void viewDidLoad() override { webAtLoad = pageView; }
  std::shared_ptr<pf::WebView> pageView;
  std::shared_ptr<pf::WebView> webAtLoad;
};

class ShellDelegate : public pf::ApplicationDelegate {
 public:
  static std::shared_ptr<ShellDelegate> create() { return std::make_shared<ShellDelegate>(); }
  void setWindow(std::shared_ptr<pf::Window> w) { window = std::move(w); }
  void setTabs(std::shared_ptr<pf::TabBarController> t) { tabs = std::move(t); }
  bool applicationDidFinishLaunchingWithOptions(pf::Application&, const Value&) override {
    launchedWithWindow = window != nullptr;
    pf::AlertView::create("Notice", "text", {}, "OK", {"Cancel"})->show();
    window->addSubview(tabs->view());
    window->makeKeyAndVisible();
    return true;
  }
  std::shared_ptr<pf::Window> window;
  std::shared_ptr<pf::TabBarController> tabs;
  bool launchedWithWindow = false;
};

Value objectWith(std::initializer_list<std::pair<const std::string, Value>> items) { return Value::dictionary(items); }

// The shell's description; a test may give the delegate other outlets or add an object.
Value shellDescription(const Value& delegateOutlets = objectWith({{"window", "window"}, {"tabs", "tabs"}}),
                       const Value& extraObject = Value()) {
  Value objects = Value::array({
      objectWith({{"id", "delegate"}, {"class", "ShellDelegate"}, {"outlets", delegateOutlets}}),
      objectWith({{"id", "window"}, {"class", "Window"}, {"backgroundColor", "white"}}),
      objectWith({{"id", "tabs"}, {"class", "TabBarController"}, {"viewControllers", Value::array({"page", "static"})}}),
      objectWith({{"id", "page"}, {"class", "PageController"}, {"title", "Classics"},
                  {"view", objectWith({{"class", "View"},
                                       {"subviews", Value::array({objectWith({{"id", "pageWeb"}, {"class", "WebView"},
                                                                               {"frame", Value::array({0, 0, 320, 365})},
                                                                               {"autoresizingMask", 18}})})}})},
                  {"outlets", objectWith({{"pageView", "pageWeb"}})}}),
      objectWith({{"id", "static"}, {"class", "ViewController"}, {"title", "About"},
                  {"view", objectWith({{"class", "Label"}, {"text", "Nothing to see"}, {"numberOfLines", 0}})}}),
  });
  if (!extraObject.isNull()) objects.append(extraObject);
  return objectWith({{"objects", objects}, {"applicationDelegate", "delegate"}});
}

class InterfaceDescriptionTest : public uitest::UITest {
 protected:
  void SetUp() override {
    pf::ViewControllerRegistry::registerClass<PageController>("PageController")
        .outlet("pageView", &PageController::setPageView);
    pf::ApplicationDelegateRegistry::registerClass<ShellDelegate>("ShellDelegate")
        .outlet("window", &ShellDelegate::setWindow)
        .outlet("tabs", &ShellDelegate::setTabs);
  }
  void TearDown() override {
    pf::ViewControllerRegistry::unregisterClass("PageController");
    pf::ApplicationDelegateRegistry::unregisterClass("ShellDelegate");
  }
  pf::Error error{"", 0};
};

TEST_F(InterfaceDescriptionTest, PageOutletsAreWiredWhenTheViewLoadsBeforeViewDidLoadAndAgainAfterAnUnload) {
  auto instance = pf::InterfaceDescription::fromValue(shellDescription(), &error)->instantiate(nullptr, &error);
  auto page = std::dynamic_pointer_cast<PageController>(instance->objects["page"].controller);
  EXPECT_FALSE(page->pageView);  // not before the view loads
  page->view();
  ASSERT_TRUE(page->webAtLoad);
  EXPECT_EQ(page->webAtLoad->frame(), pf::Rect(0, 0, 320, 365));
  EXPECT_EQ(page->webAtLoad->superview(), page->view());
  EXPECT_EQ(page->webAtLoad->autoresizingMask(), 18u);
  auto first = page->webAtLoad;
  pf::Application::sharedApplication()->receiveMemoryWarning();  // not in a window: unloaded
  page->view();
  EXPECT_NE(page->webAtLoad, first);
  EXPECT_EQ(page->pageView, page->webAtLoad);
  auto label = std::dynamic_pointer_cast<pf::Label>(instance->objects["static"].controller->view());
  ASSERT_TRUE(label);
  EXPECT_EQ(label->text(), "Nothing to see");
}

TEST_F(InterfaceDescriptionTest, AnUnknownClassIsAnErrorThatNamesIt) {
  const Value missing = objectWith({{"id", "x"}, {"class", "MissingController"}});
  EXPECT_FALSE(pf::InterfaceDescription::fromValue(shellDescription(Value::dictionary(), missing), &error));
  EXPECT_EQ(error.domain(), pf::kInterfaceDescriptionErrorDomain);
  EXPECT_EQ(error.code(), pf::InterfaceDescription::UnknownClass);
  EXPECT_NE(error.localizedDescription().find("\"MissingController\""), std::string::npos);
}

TEST_F(InterfaceDescriptionTest, BadOutletsAndReferencesAreReported) {
  static const struct {
    const char *outlet, *target;
    pf::InterfaceDescription::ErrorCode code;
    bool atInstantiation;
  } kCases[] = {
      {"door", "window", pf::InterfaceDescription::UnknownOutlet, false},
      {"window", "nowhere", pf::InterfaceDescription::UnknownObject, false},
      {"window", "tabs", pf::InterfaceDescription::WrongKind, true},  // a controller where a window goes
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.outlet + std::string(" → ") + c.target);
    auto d = pf::InterfaceDescription::fromValue(shellDescription(objectWith({{c.outlet, c.target}})), &error);
    ASSERT_EQ(d != nullptr, c.atInstantiation);
    if (d) {
      EXPECT_FALSE(d->instantiate(nullptr, &error));
    }
    EXPECT_EQ(error.code(), c.code);
  }
}

TEST_F(InterfaceDescriptionTest, ApplicationMainLaunchesFromTheBundle) {
  pf::SimHome home;
  const std::string dir = home.root() + "/Shell.app";
  pf::FileManager::defaultManager().createDirectory(dir, true);
  auto write = [&](const std::string& name, const Value& v) {
    pf::FileManager::defaultManager().writeFileAtomically(dir + "/" + name, *pf::PropertyList::write(v, pf::PropertyList::Format::Xml));
  };
  write("Info.plist", objectWith({{"CFBundleIdentifier", "org.example.shell"}, {"CFBundleVersion", "1.2"},
                                  {"NSMainNibFile", "MainWindow"}}));
  write("MainWindow.plist", shellDescription());
  pf::Bundle::setMainBundle(pf::Bundle::bundleAtPath(dir));
  ASSERT_TRUE(pf::Bundle::mainBundle());
  EXPECT_EQ(pf::Bundle::mainBundle()->bundleIdentifier(), "org.example.shell");

  char name[] = "shell";
  char* argv[] = {name, nullptr};
  EXPECT_EQ(pf::ApplicationMain(1, argv), 0);
  auto app = pf::Application::sharedApplication();
  auto delegate = std::dynamic_pointer_cast<ShellDelegate>(app->delegate());
  ASSERT_TRUE(delegate);  // kept alive by the application
  EXPECT_TRUE(delegate->launchedWithWindow);
  EXPECT_EQ(app->applicationState(), pf::ApplicationState::Active);
  EXPECT_TRUE(delegate->window->isKeyWindow());
  EXPECT_EQ(delegate->window->backgroundColor(), pf::Color::white());
  ASSERT_EQ(delegate->tabs->viewControllers().size(), 2u);
  auto page = std::dynamic_pointer_cast<PageController>(delegate->tabs->viewControllers()[0]);
  EXPECT_EQ(page->title(), "Classics");
  EXPECT_TRUE(page->isAppeared());
  ASSERT_TRUE(page->webAtLoad);

  ASSERT_TRUE(pf::SimUIAlertView::topAlert()) << "the delegate's notice is up";

  // A description naming a class no longer registered: exit status 1, the class named,
  // nothing launched.
  pf::Application::resetSharedApplication();
  pf::ViewControllerRegistry::unregisterClass("PageController");
  LogCapture log;
  EXPECT_EQ(pf::ApplicationMain(1, argv), 1);
  ASSERT_EQ(log.lines.size(), 1u);
  EXPECT_NE(log.lines[0].find("PageController"), std::string::npos);
  EXPECT_FALSE(pf::Application::sharedApplication()->hasFinishedLaunching());
}

}  // namespace
