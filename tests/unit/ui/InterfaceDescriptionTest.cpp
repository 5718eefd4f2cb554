// The interface description and the launch: objects made by class name, outlets wired,
// unknown classes reported by name; ApplicationMain from a bundle on disk.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "UIFixture.h"
#include "platform/base/Log.h"
#include "platform/base/PropertyList.h"
#include <unistd.h>
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

Value shellDescription() {
  Value objects = Value::array({
      objectWith({{"id", "delegate"}, {"class", "ShellDelegate"},
                  {"outlets", objectWith({{"window", "window"}, {"tabs", "tabs"}})}}),
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

TEST_F(InterfaceDescriptionTest, MakesTheObjectsAndWiresTopLevelOutletsAtOnce) {
  auto d = pf::InterfaceDescription::fromValue(shellDescription(), &error);
  ASSERT_TRUE(d) << error.localizedDescription();
  auto instance = d->instantiate(nullptr, &error);
  ASSERT_TRUE(instance);
  auto delegate = std::dynamic_pointer_cast<ShellDelegate>(instance->applicationDelegate);
  ASSERT_TRUE(delegate);
  EXPECT_EQ(delegate->window, instance->objects["window"].view);
  ASSERT_EQ(delegate->tabs->viewControllers().size(), 2u);
  EXPECT_EQ(delegate->tabs->viewControllers()[0]->title(), "Classics");
  EXPECT_EQ(delegate->window->backgroundColor(), pf::Color::white());
}

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
  Value v = shellDescription();
  Value objects = v["objects"];
  objects.append(objectWith({{"id", "x"}, {"class", "MissingController"}}));
  v.set("objects", objects);
  EXPECT_FALSE(pf::InterfaceDescription::fromValue(v, &error));
  EXPECT_EQ(error.domain(), pf::kInterfaceDescriptionErrorDomain);
  EXPECT_EQ(error.code(), pf::InterfaceDescription::UnknownClass);
  EXPECT_NE(error.localizedDescription().find("\"MissingController\""), std::string::npos);

  pf::ViewControllerRegistry::unregisterClass("PageController");  // the page's class is gone
  EXPECT_FALSE(pf::InterfaceDescription::fromValue(shellDescription(), &error));
  EXPECT_NE(error.localizedDescription().find("\"PageController\""), std::string::npos);
}

TEST_F(InterfaceDescriptionTest, BadOutletsAndReferencesAreReported) {
  Value v = shellDescription();
  Value objects = v["objects"];
  Value first = objects[0];
  first.set("outlets", objectWith({{"door", "window"}}));
  Value broken = Value::array({first});
  for (size_t i = 1; i < objects.size(); ++i) broken.append(objects[i]);
  v.set("objects", broken);
  EXPECT_FALSE(pf::InterfaceDescription::fromValue(v, &error));
  EXPECT_EQ(error.code(), pf::InterfaceDescription::UnknownOutlet);

  first.set("outlets", objectWith({{"window", "nowhere"}}));
  broken = Value::array({first});
  for (size_t i = 1; i < objects.size(); ++i) broken.append(objects[i]);
  v.set("objects", broken);
  EXPECT_FALSE(pf::InterfaceDescription::fromValue(v, &error));
  EXPECT_EQ(error.code(), pf::InterfaceDescription::UnknownObject);

  first.set("outlets", objectWith({{"window", "tabs"}}));  // a controller where a window goes
  broken = Value::array({first});
  for (size_t i = 1; i < objects.size(); ++i) broken.append(objects[i]);
  v.set("objects", broken);
  auto d = pf::InterfaceDescription::fromValue(v, &error);
  ASSERT_TRUE(d);
  EXPECT_FALSE(d->instantiate(nullptr, &error));
  EXPECT_EQ(error.code(), pf::InterfaceDescription::WrongKind);
}

TEST_F(InterfaceDescriptionTest, ApplicationMainLaunchesFromTheBundle) {
  auto dir = std::filesystem::temp_directory_path() / ("ui-bundle-" + std::to_string(::getpid()));
  std::filesystem::create_directories(dir);
  auto write = [&](const std::string& name, const Value& v) {
    std::ofstream(dir / name) << *pf::PropertyList::write(v, pf::PropertyList::Format::Xml);
  };
  write("Info.plist", objectWith({{"CFBundleIdentifier", "org.example.shell"}, {"CFBundleVersion", "1.2"},
                                  {"NSMainNibFile", "MainWindow"}}));
  write("MainWindow.plist", shellDescription());
  pf::Bundle::setMainBundle(pf::Bundle::bundleAtPath(dir.string()));
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
  auto page = std::dynamic_pointer_cast<PageController>(delegate->tabs->viewControllers()[0]);
  EXPECT_TRUE(page->isAppeared());
  ASSERT_TRUE(page->webAtLoad);

  // The notice is up; either button only dismisses it.
  auto alert = pf::SimUIAlertView::topAlert();
  ASSERT_TRUE(alert);
  EXPECT_EQ(alert->buttonTitleAtIndex(alert->cancelButtonIndex()), "OK");
  EXPECT_TRUE(pf::SimUIAlertView::tap(*alert, "Cancel"));
  EXPECT_FALSE(alert->isVisible());
  clock.advance(0.3);
  EXPECT_TRUE(app->visibleAlerts().empty());

  // A description naming an unknown class: exit status 1, nothing launched.
  pf::Application::resetSharedApplication();
  pf::ViewControllerRegistry::unregisterClass("PageController");
  std::vector<std::string> lines;
  auto previous = pf::Log::setSink([&](const std::string& l) { lines.push_back(l); });
  EXPECT_EQ(pf::ApplicationMain(1, argv), 1);
  pf::Log::setSink(previous);
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_NE(lines[0].find("PageController"), std::string::npos);
  EXPECT_FALSE(pf::Application::sharedApplication()->hasFinishedLaunching());
  std::filesystem::remove_all(dir);
}

}  // namespace
