#include "platform/ui/InterfaceDescription.h"

#include <set>

#include "platform/base/FileManager.h"
#include "platform/base/Log.h"
#include "platform/base/PropertyList.h"
#include "platform/ui/ClassRegistry.h"
#include "platform/ui/Image.h"
#include "platform/ui/Label.h"
#include "platform/ui/TabBarController.h"
#include "platform/ui/WebView.h"

namespace pf {
namespace {

const std::set<std::string> kViewClasses{"View", "WebView", "Label"};
const std::set<std::string> kControllerClasses{"ViewController", "TabBarController"};

Error fail(long code, const std::string& text) {
  return Error::withDescription(kInterfaceDescriptionErrorDomain, code, text);
}

bool isController(const std::string& cls) {
  return kControllerClasses.count(cls) || ViewControllerRegistry::find(cls);
}

std::optional<Rect> rectFrom(const Value& v) {
  if (!v.isArray() || v.size() != 4) return std::nullopt;
  double n[4];
  for (size_t i = 0; i < 4; ++i) {
    auto r = v[i].asReal();
    if (!r) return std::nullopt;
    n[i] = *r;
  }
  return Rect(n[0], n[1], n[2], n[3]);
}

std::optional<Color> colorFrom(const Value& v) {
  if (auto name = v.asString()) {
    if (*name == "white") return Color::white();
    if (*name == "black") return Color::black();
    if (*name == "clear") return Color::clear();
    if (*name == "gray") return Color::gray(0.5);
    if (*name == "lightGray") return Color::gray(2.0 / 3);
    return std::nullopt;
  }
  if (!v.isArray() || (v.size() != 4 && v.size() != 3)) return std::nullopt;
  double c[4] = {0, 0, 0, 1};
  for (size_t i = 0; i < v.size(); ++i) {
    auto r = v[i].asReal();
    if (!r) return std::nullopt;
    c[i] = *r;
  }
  return Color{c[0], c[1], c[2], c[3]};
}

std::string idOf(const Value& v) { return v["id"].asString().value_or("(no id)"); }

// ---- checking ----

struct Checker {
  std::set<std::string> topIds;
  Error* error;

  bool failWith(long code, const std::string& text) {
    if (error) *error = fail(code, text);
    return false;
  }

  // A view tree: known classes, well-formed keys; collects its ids into `ids`.
  bool checkView(const Value& v, std::set<std::string>& ids) {
    if (!v.isDictionary()) return failWith(InterfaceDescription::Malformed, "A view description is not a dictionary");
    auto cls = v["class"].asString();
    if (!cls) return failWith(InterfaceDescription::Malformed, "View \"" + idOf(v) + "\" has no class");
    if (!kViewClasses.count(*cls))
      return failWith(InterfaceDescription::UnknownClass,
                      "Unknown view class \"" + *cls + "\" (object \"" + idOf(v) + "\") in the interface description");
    if (auto id = v["id"].asString()) {
      if (topIds.count(*id) || !ids.insert(*id).second)
        return failWith(InterfaceDescription::Malformed, "The id \"" + *id + "\" is used twice");
    }
    if (v.contains("frame") && !rectFrom(v["frame"]))
      return failWith(InterfaceDescription::Malformed, "The frame of \"" + idOf(v) + "\" is not [x, y, w, h]");
    if (v.contains("backgroundColor") && !colorFrom(v["backgroundColor"]))
      return failWith(InterfaceDescription::Malformed, "The colour of \"" + idOf(v) + "\" is not a colour");
    if (v.contains("subviews")) {
      if (!v["subviews"].isArray())
        return failWith(InterfaceDescription::Malformed, "The subviews of \"" + idOf(v) + "\" are not an array");
      for (auto& s : *v["subviews"].asArray())
        if (!checkView(s, ids)) return false;
    }
    return true;
  }

  template <typename Registry>
  bool checkOutlets(const Value& object, const std::string& cls, const std::set<std::string>& local) {
    if (!object.contains("outlets")) return true;
    auto* outlets = object["outlets"].asDictionary();
    if (!outlets) return failWith(InterfaceDescription::Malformed, "The outlets of \"" + idOf(object) + "\" are not a dictionary");
    auto* info = Registry::find(cls);
    for (auto& [name, target] : *outlets) {
      if (!info || !info->outlets.count(name))
        return failWith(InterfaceDescription::UnknownOutlet,
                        "Class \"" + cls + "\" has no outlet \"" + name + "\" (object \"" + idOf(object) + "\")");
      auto t = target.asString();
      if (!t || (!topIds.count(*t) && !local.count(*t)))
        return failWith(InterfaceDescription::UnknownObject,
                        "Outlet \"" + name + "\" of \"" + idOf(object) + "\" names no object");
    }
    return true;
  }
};

// ---- making ----

std::shared_ptr<View> buildView(const Value& v, std::map<std::string, InterfaceObject>& ids,
                                const std::shared_ptr<View>& given = nullptr) {
  std::string cls = v["class"].asString().value_or("View");
  Rect frame = rectFrom(v["frame"]).value_or(Rect());
  std::shared_ptr<View> view = given;
  if (!view) {
    if (cls == "WebView") {
      auto web = WebView::create(frame);
      if (auto b = v["scalesPageToFit"].asBoolean()) web->setScalesPageToFit(*b);
      if (auto t = v["dataDetectorTypes"].asInteger()) web->setDataDetectorTypes(unsigned(*t));
      view = web;
    } else if (cls == "Label") {
      auto label = Label::create(frame);
      if (auto t = v["text"].asString()) label->setText(*t);
      if (auto c = colorFrom(v["textColor"])) label->setTextColor(*c);
      if (auto f = v["fontSize"].asReal()) label->setFontSize(*f);
      if (auto n = v["numberOfLines"].asInteger()) label->setNumberOfLines(int(*n));
      if (auto a = v["textAlignment"].asString())
        label->setTextAlignment(*a == "center" ? TextAlignment::Center
                                : *a == "right" ? TextAlignment::Right : TextAlignment::Left);
      view = label;
    } else {
      view = View::create(frame);
    }
  } else if (v.contains("frame")) {
    view->setFrame(frame);
  }
  if (auto m = v["autoresizingMask"].asInteger()) view->setAutoresizingMask(unsigned(*m));
  if (auto c = colorFrom(v["backgroundColor"])) view->setBackgroundColor(*c);
  if (auto b = v["hidden"].asBoolean()) view->setHidden(*b);
  if (auto b = v["opaque"].asBoolean()) view->setOpaque(*b);
  if (auto b = v["clipsToBounds"].asBoolean()) view->setClipsToBounds(*b);
  if (auto b = v["userInteractionEnabled"].asBoolean()) view->setUserInteractionEnabled(*b);
  if (auto t = v["tag"].asInteger()) view->setTag(int(*t));
  if (auto* subs = v["subviews"].asArray())
    for (auto& s : *subs) view->addSubview(buildView(s, ids));
  if (auto id = v["id"].asString()) ids[*id].view = view;
  return view;
}

template <typename Registry, typename Owner>
void wireOutlets(Owner& owner, const Value& object, const std::string& cls,
                 const std::map<std::string, InterfaceObject>& available, Error* error) {
  auto* info = Registry::find(cls);
  auto* outlets = object["outlets"].asDictionary();
  if (!info || !outlets) return;
  for (auto& [name, target] : *outlets) {
    auto it = available.find(target.stringRef());
    auto setter = info->outlets.find(name);
    if (it == available.end() || setter == info->outlets.end()) continue;  // wired elsewhere
    if (!setter->second(owner, it->second)) {
      std::string text = "Outlet \"" + name + "\" of \"" + idOf(object) + "\" cannot hold \"" + target.stringRef() + "\"";
      if (error) *error = fail(InterfaceDescription::WrongKind, text);
      Log::message(text);
    }
  }
}

std::shared_ptr<const Image> loadImage(const std::shared_ptr<Bundle>& bundle, const std::string& name) {
  if (!bundle) return nullptr;
  auto bytes = bundle->readResource(name);
  if (!bytes) return nullptr;
  return Image::imageWithData(std::move(*bytes), name.find("@2x") != std::string::npos ? 2.0 : 1.0);
}

}  // namespace

std::shared_ptr<const InterfaceDescription> InterfaceDescription::fromValue(const Value& description, Error* error) {
  auto d = std::shared_ptr<InterfaceDescription>(new InterfaceDescription(description));
  if (!d->validate(error)) return nullptr;
  return d;
}

std::shared_ptr<const InterfaceDescription> InterfaceDescription::fromFile(const std::string& path, Error* error) {
  auto bytes = FileManager::defaultManager().readFile(path, error);
  if (!bytes) return nullptr;
  auto value = PropertyList::read(*bytes);
  if (!value) {
    if (error) *error = fail(Malformed, "The interface description " + path + " is not a property list");
    return nullptr;
  }
  return fromValue(*value, error);
}

bool InterfaceDescription::validate(Error* error) const {
  Checker check{{}, error};
  auto* objects = description_["objects"].asArray();
  if (!description_.isDictionary() || !objects)
    return check.failWith(Malformed, "The interface description has no \"objects\" array");
  for (auto& o : *objects) {
    auto id = o["id"].asString();
    if (!o.isDictionary() || !id || !o["class"].isString())
      return check.failWith(Malformed, "Every object of the interface description needs an id and a class");
    if (!check.topIds.insert(*id).second) return check.failWith(Malformed, "The id \"" + *id + "\" is used twice");
  }
  std::set<std::string> controllers;
  for (auto& o : *objects) {
    std::string cls = o["class"].stringRef();
    std::set<std::string> local;
    if (cls == "Window" || kViewClasses.count(cls)) {
      Value asView = o;
      if (cls == "Window") asView.set("class", "View");
      asView.remove("id");
      if (!check.checkView(asView, local)) return false;
      if (!check.checkOutlets<ViewControllerRegistry>(o, cls, local)) return false;
    } else if (isController(cls)) {
      controllers.insert(o["id"].stringRef());
      if (o.contains("view") && !check.checkView(o["view"], local)) return false;
      if (!check.checkOutlets<ViewControllerRegistry>(o, cls, local)) return false;
    } else if (ApplicationDelegateRegistry::find(cls)) {
      if (!check.checkOutlets<ApplicationDelegateRegistry>(o, cls, local)) return false;
    } else {
      return check.failWith(UnknownClass,
                            "Unknown class \"" + cls + "\" (object \"" + o["id"].stringRef() + "\") in the interface description");
    }
  }
  for (auto& o : *objects) {
    if (o["class"].stringRef() != "TabBarController") continue;
    if (auto* children = o["viewControllers"].asArray())
      for (auto& c : *children)
        if (!controllers.count(c.stringRef()))
          return check.failWith(UnknownObject, "Tab bar \"" + o["id"].stringRef() + "\" lists \"" + c.stringRef() +
                                                   "\", which is no controller of the description");
  }
  if (auto d = description_["applicationDelegate"].asString()) {
    bool found = false;
    for (auto& o : *objects)
      if (o["id"].stringRef() == *d && ApplicationDelegateRegistry::find(o["class"].stringRef())) found = true;
    if (!found) return check.failWith(UnknownObject, "The application delegate \"" + *d + "\" is no delegate object");
  }
  return true;
}

std::optional<InterfaceDescription::Instance> InterfaceDescription::instantiate(std::shared_ptr<Bundle> resources,
                                                                                Error* error) const {
  Instance out;
  auto& objects = *description_["objects"].asArray();
  std::map<std::string, InterfaceObject> nested;  // ids inside windows' and views' trees
  for (auto& o : objects) {
    const std::string& id = o["id"].stringRef();
    const std::string& cls = o["class"].stringRef();
    if (cls == "Window") {
      auto window = Window::create(rectFrom(o["frame"]).value_or(Rect()));
      Value asView = o;
      asView.remove("id");
      asView.remove("frame");
      buildView(asView, nested, window);
      out.objects[id].view = window;
    } else if (kViewClasses.count(cls)) {
      out.objects[id].view = buildView(o, nested);
    } else if (isController(cls)) {
      std::shared_ptr<ViewController> vc;
      if (cls == "TabBarController") vc = TabBarController::create();
      else if (cls == "ViewController") vc = ViewController::create();
      else vc = ViewControllerRegistry::find(cls)->factory();
      if (auto t = o["title"].asString()) vc->setTitle(*t);
      TabBarItem item = vc->tabBarItem();
      if (auto t = o["tabTitle"].asString()) item.title = *t;
      if (auto img = o["tabImage"].asString()) item.image = loadImage(resources, *img);
      vc->setTabBarItem(item);
      if (o.contains("view")) {
        // Made again at every load of the controller's view, outlets and all.
        Value viewDescription = o["view"];
        Value object = o;
        vc->setViewBuilder([viewDescription, object, cls](ViewController& owner) {
          std::map<std::string, InterfaceObject> ids;
          auto view = buildView(viewDescription, ids);
          wireOutlets<ViewControllerRegistry>(owner, object, cls, ids, nullptr);
          return view;
        });
      }
      out.objects[id].controller = vc;
    } else if (auto* info = ApplicationDelegateRegistry::find(cls)) {
      out.objects[id].delegate = info->factory();
    }
  }
  for (auto& o : objects) {
    if (o["class"].stringRef() != "TabBarController") continue;
    auto tabs = std::static_pointer_cast<TabBarController>(out.objects[o["id"].stringRef()].controller);
    std::vector<std::shared_ptr<ViewController>> children;
    if (auto* list = o["viewControllers"].asArray())
      for (auto& c : *list) children.push_back(out.objects[c.stringRef()].controller);
    tabs->setViewControllers(children);
    if (auto i = o["selectedIndex"].asInteger()) tabs->setSelectedIndex(size_t(*i));
  }
  std::map<std::string, InterfaceObject> available = out.objects;
  available.insert(nested.begin(), nested.end());
  Error wiringError("", 0);
  bool wiringFailed = false;
  for (auto& o : objects) {
    const std::string& cls = o["class"].stringRef();
    auto& made = out.objects[o["id"].stringRef()];
    Error e("", 0);
    if (made.delegate) wireOutlets<ApplicationDelegateRegistry>(*made.delegate, o, cls, available, &e);
    if (made.controller) wireOutlets<ViewControllerRegistry>(*made.controller, o, cls, available, &e);
    if (!e.domain().empty() && !wiringFailed) {
      wiringFailed = true;
      wiringError = e;
    }
  }
  if (wiringFailed) {
    if (error) *error = wiringError;
    return std::nullopt;
  }
  if (auto d = description_["applicationDelegate"].asString()) out.applicationDelegate = out.objects[*d].delegate;
  return out;
}

}  // namespace pf
